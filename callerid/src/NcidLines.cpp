#include "callerid/NcidLines.h"

#include <cstdio>

namespace callerid::lines {

namespace {

std::string Date(const vt::LocalTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%04d", t.month, t.day, t.year);
    return text;
}

std::string HourMinute(const vt::LocalTime& t) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d", t.hour, t.minute);
    return text;
}

std::string ClockTime(const vt::LocalTime& t) {
    char text[12];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string Pair(const char* label, const std::string& data) {
    return std::string("*") + label + "*" + data;
}

}  // namespace

std::string Greeting() {
    return "200 Server: Vantelo (NCID)";
}

std::string ApiVersion() {
    return "210 API: 1.0 Feature Set 1";
}

std::string EndOfLog(bool empty) {
    return empty ? "252 Call log empty" : "250 End of call log";
}

std::string EndOfStartup() {
    return "300 End of connection startup";
}

std::string FieldData(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c == '*')
            out.push_back('-');
        else if (c < 0x20 || c == 0x7f)
            out.push_back(' ');
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

std::string Call(const char* type, const CallInfo& call) {
    const std::string number = call.number.empty() ? "PRIVATE" : FieldData(call.number);
    const std::string name = call.name.empty() ? "NO NAME" : FieldData(call.name);
    return std::string(type) + ": " + Pair("DATE", Date(call.when)) +
           Pair("TIME", HourMinute(call.when)) + Pair("LINE", FieldData(call.line)) +
           Pair("NMBR", number) + Pair("MESG", "NONE") + Pair("NAME", name) + "*";
}

std::string RingInfo(const std::string& line, int ring, const vt::LocalTime& at) {
    return "CIDINFO: " + Pair("LINE", FieldData(line)) + Pair("RING", std::to_string(ring)) +
           Pair("TIME", ClockTime(at)) + "*";
}

std::string MessageWaiting(const std::string& line, int count, const vt::LocalTime& at) {
    return "MWI: " + Pair("DATE", Date(at)) + Pair("TIME", HourMinute(at)) +
           Pair("LINE", FieldData(line)) + Pair("NMBR", std::to_string(count)) +
           Pair("MESG", count > 0 ? "SET" : "CLEAR") +
           Pair("NAME", count > 0 ? "MESSAGE WAITING" : "NO MESSAGES") + "*";
}

}  // namespace callerid::lines
