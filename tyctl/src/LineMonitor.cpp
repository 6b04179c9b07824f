#include "tyctl/LineMonitor.h"

#include <chrono>
#include <string>

#include "lindev/lindev.h"
#include "platform/Folders.h"
#include "platform/Tick.h"
#include "tyctl/CommandTable.h"
#include "tyctl/MessageNames.h"
#include "usbline/UsbAdapters.h"

namespace tyctl {

using namespace std::chrono_literals;

bool LineMonitor::Start() {
    if (TY_InitializeAllDevice() == 0) return false;
    if (TY_OpenDeviceByIndex(0, 1) != 1) return false;
    if (TY_StartService(&window_, 0) != 0) {
        TY_CloseDeviceByIndex(0);
        return false;
    }
    serving_ = true;
    return true;
}

void LineMonitor::Stop() {
    if (!serving_) return;
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    serving_ = false;
}

int LineMonitor::Run(const std::atomic<bool>& stop) {
    const std::uint64_t start = vt::TickCount64();
    std::uint64_t nextTry = start;
    bool toldWaiting = false;
    while (!stop.load()) {
        if (!serving_ && vt::TickCount64() >= nextTry) {
            if (!Start()) {
                std::string folderError;
                if (vt::RuntimeFolder(&folderError).empty()) {
                    err_ << "tyctl: " << folderError << '\n';
                    return kExitNoAdapter;
                }
                if (!toldWaiting) {
                    const std::string problem = usbline::AdapterProblem();
                    if (!problem.empty()) err_ << "tyctl: " << problem << '\n';
                    err_ << "tyctl: no adapter yet, looking again every 2 s\n";
                }
                toldWaiting = true;
                nextTry = vt::TickCount64() + kRetryMs;
            } else {
                toldWaiting = false;
            }
        }
        auto message = window_.Take(100ms);
        if (!message) continue;
        out_ << (message->tickMs - start) << ' ' << MessageName(message->message) << ' '
             << message->wParam << ' ' << message->lParam << std::endl;
        if (message->message == WM_TY_DEVICEREMOVED) {
            // The transport closed itself; only a fresh open sees the adapter again.
            Stop();
            nextTry = vt::TickCount64() + kRetryMs;
        }
    }
    Stop();
    return 0;
}

}  // namespace tyctl
