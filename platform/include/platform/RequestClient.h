#pragma once
// The client side of the request socket, shared by `vantelo --dial`,
// `vantelo --hangup` and the converter. Waits at most 2 s for the program.

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/RequestProtocol.h"

namespace vt {

class RequestClient {
public:
    enum class Outcome {
        Ok,          // the program took the request
        Refused,     // the program answered "ERR ..." (reason in text)
        NotRunning,  // no program listens
        Failed,      // connection broke or timed out (reason in text)
    };
    struct Answer {
        Outcome outcome = Outcome::Failed;
        std::string text;  // the refusal reason or the failure
    };

    static constexpr const char* kNotRunningText = "Vantelo is not running";

    static Answer Send(std::uint32_t kind, const std::string& payload,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // One line for a person: "" for Ok, else the reason.
    static std::string Describe(const Answer& answer);
};

}  // namespace vt
