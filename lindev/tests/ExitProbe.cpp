// Opens and serves slot 0 on an in-process adapter, takes the line, starts a
// recording (with the argument "record"), and returns from main without
// stopping or closing anything: the device table's destruction at exit must
// end every thread it started, and still log its closing. Exit code 0 when
// the setup worked (then the exit itself is what the test watches).
#include <cstdio>
#include <string>

#include "lindev/lindev.h"
#include "linesim/InProcessAdapter.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/KeptUntilExit.h"

int main(int argc, char** argv) {
    // Both outlive the table on purpose: its threads post and read until it ends them.
    auto* adapter = vt::test::KeptUntilExit(new linesim::InProcessAdapter(0));
    auto* window = vt::test::KeptUntilExit(new vt::QueueMessageWindow);
    if (TY_InitializeAllDevice() != 1 || TY_OpenDeviceByIndex(0, 1) != 1) return 2;
    if (TY_StartService(window, 0) != 0 || TY_HookOff(0) != 1) return 3;
    if (!window->WaitFor(WM_TY_LINENOTIFY, std::chrono::seconds(2))) return 4;
    if (argc > 1 && std::string(argv[1]) == "record" && TY_StartRecord("exit.wav", 1, 0, 0) != 1)
        return 5;
    std::puts("served");
    (void)adapter;
    return 0;
}
