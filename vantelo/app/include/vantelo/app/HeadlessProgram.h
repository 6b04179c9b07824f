#pragma once
// `vantelo --headless`: the whole phone without windows. It holds the
// single-instance lock, serves the request socket, prints every view change
// and takes actions from standard input, one per line. SIGINT, SIGTERM, the
// action "quit" and a close request run the exit sequence; the end of the
// input does not (it runs as a service without a terminal).

#include <cstdio>
#include <string>

namespace vantelo {

class PhoneController;
class HeadlessView;

class HeadlessProgram {
public:
    // The program's exit status.
    static int Run();

    // One action line for the phone; false with a reason for a line that is
    // no action. "quit" is the caller's.
    static bool Perform(PhoneController& phone, HeadlessView& view, const std::string& line,
                        std::string& error);
};

}  // namespace vantelo
