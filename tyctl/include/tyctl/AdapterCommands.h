#pragma once
// tyctl adapters: every adapter found, one a line, and the udev rule for the
// listed USB adapters.

#include "tyctl/CommandTable.h"

namespace tyctl {

// "adapters": path, kind (usb or simulated), VID:PID for USB ones, and
// whether it can be opened (with the reason when not). "adapters
// --udev-rule": the udev rule for the VID:PID pairs of adapters.conf.
int Adapters(CommandContext& c);

}  // namespace tyctl
