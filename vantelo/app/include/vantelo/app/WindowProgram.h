#pragma once
// `vantelo` with its window (the default when the window programs are
// built): the same start as the headless program (lock, folder, prompts,
// request socket), then the phone window bound to the line. The request
// socket's requests, SIGINT and SIGTERM are carried out on the window's
// thread; the exit sequence ends the program.

#include <memory>
#include <string>

#include "vantelo/app/ProgramStart.h"

class QMessageBox;

namespace vantelo {

class WindowProgram {
public:
    // The program's exit status.
    static int Run(int argc, char** argv);

    // The box that tells a problem of the start, not yet shown: a second
    // start is refused in a top-most box titled "Error", a lock that cannot
    // be taken in one titled "Error!" (both with the error icon), anything
    // else in an information box titled "Vantelo".
    static std::unique_ptr<QMessageBox> ProblemBox(ProgramStart::Problem problem,
                                                   const std::string& text);
};

}  // namespace vantelo
