#include "tyctl/AdapterSession.h"

#include "lindev/lindev.h"

namespace tyctl {

AdapterSession::AdapterSession() {
    found_ = TY_InitializeAllDevice() > 0;
    open_ = found_ && TY_OpenDeviceByIndex(0, 1) == 1;
}

AdapterSession::~AdapterSession() {
    if (open_) TY_CloseDeviceByIndex(0);
}

}  // namespace tyctl
