#pragma once
// A message the answering machine took and nobody has heard yet: what the
// window, the headless output and other listeners are told when one arrives.

#include <string>

namespace vantelo {

struct NewMessage {
    long long callId = 0;   // the call's record number in the call log
    std::string number;     // the caller's number; may be empty
    std::string name;       // the caller's name from the contact book; may be empty
    std::string start;      // local time "YYYY-MM-DD HH:MM:SS"
    int seconds = 0;        // length of the call
    std::string recording;  // absolute path of the kept recording
};

}  // namespace vantelo
