#include "tyctl/AdapterSession.h"

#include "lindev/lindev.h"
#include "usbline/UsbAdapters.h"

namespace tyctl {

AdapterSession::AdapterSession() {
    found_ = TY_InitializeAllDevice() > 0;
    open_ = found_ && TY_OpenDeviceByIndex(0, 1) == 1;
}

AdapterSession::~AdapterSession() {
    if (open_) TY_CloseDeviceByIndex(0);
}

std::string NoAdapterLine() {
    const std::string problem = usbline::AdapterProblem();
    if (!problem.empty()) return "tyctl: " + problem;
    std::string folderError;
    if (vt::RuntimeFolder(&folderError).empty()) return "tyctl: no adapter found: " + folderError;
    return "tyctl: no adapter found";
}

}  // namespace tyctl
