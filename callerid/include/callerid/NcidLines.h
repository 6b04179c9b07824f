#pragma once
// The lines of the network caller-ID text protocol (NCID) that this server
// sends: field pairs "*LABEL*data*" after a line type, dates as MMDDYYYY,
// call times as HHMM (24 h). Each function gives one line without its end;
// the server ends every line with CR LF.

#include <string>

#include "platform/Clock.h"

namespace callerid {

// One call as the protocol tells it.
struct CallInfo {
    vt::LocalTime when;
    std::string line;    // the line label: the desk's name
    std::string number;  // empty for a withheld caller
    std::string name;    // empty when nobody has the number
};

namespace lines {

// The two lines a client gets first: the server's name, then the protocol
// version and feature set it follows.
std::string Greeting();
std::string ApiVersion();
// After the call log: its end (or that it is empty), then the end of the
// connection's start-up.
std::string EndOfLog(bool empty);
std::string EndOfStartup();

// "CID:" (a caller ID now), "CIDLOG:" (the same from the log at connect) or
// "BLK:" (a caller kept out): DATE, TIME, LINE, NMBR, MESG, NAME.
std::string Call(const char* type, const CallInfo& call);
// "CIDINFO:" at each ring (count 1, 2 ...), when ringing stops (0) and when
// a call ends: -1 hung up before it was answered, -2 after.
std::string RingInfo(const std::string& line, int ring, const vt::LocalTime& at);
// "MWI:" with the number of messages not yet heard.
std::string MessageWaiting(const std::string& line, int count, const vt::LocalTime& at);

// Field data as the protocol carries it: no line breaks or control
// characters, no "*" (the field separator); UTF-8 stays as it is.
std::string FieldData(const std::string& text);

}  // namespace lines
}  // namespace callerid
