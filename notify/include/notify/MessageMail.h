#pragma once
// One answering-machine message to be mailed: who called, when, how long,
// and the recording. The program fills it from its own message record.

#include <string>

namespace notify {

struct MessageMail {
    long long callId = 0;
    std::string number;
    std::string name;
    std::string start;      // local "YYYY-MM-DD HH:MM:SS"
    int seconds = 0;        // length of the message
    std::string recording;  // absolute path (.wav or compressed .vrc); empty for none
};

}  // namespace notify
