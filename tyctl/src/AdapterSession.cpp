#include "tyctl/AdapterSession.h"

#include "Text.h"
#include "lindev/lindev.h"
#include "usbline/UsbAdapters.h"

namespace tyctl {

AdapterSession::AdapterSession() {
    found_ = TY_InitializeAllDevice() > 0;
    open_ = found_ && TY_OpenDeviceByIndex(0, 1) == 1;
}

AdapterSession::~AdapterSession() {
    if (open_)
        TY_CloseDeviceByIndex(0);
}

std::string NoAdapterLine() {
    const std::string problem = usbline::AdapterProblem();
    if (!problem.empty())
        return "tyctl: " + problem;
    std::string folderError;
    if (vt::RuntimeFolder(&folderError).empty())
        return "tyctl: " + Text(QT_TRANSLATE_NOOP("tyctl", "어댑터가 없습니다: %1"), {folderError});
    return "tyctl: " + Text(QT_TRANSLATE_NOOP("tyctl", "어댑터가 없습니다"));
}

}  // namespace tyctl
