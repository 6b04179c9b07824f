#pragma once
// `vantelo` with its window (the default when the window programs are
// built): the same start as the headless program (lock, folder, prompts,
// request socket), then the phone window bound to the line. The request
// socket's requests, SIGINT and SIGTERM are carried out on the window's
// thread; the exit sequence ends the program.

namespace vantelo {

class WindowProgram {
public:
    // The program's exit status.
    static int Run(int argc, char** argv);
};

}  // namespace vantelo
