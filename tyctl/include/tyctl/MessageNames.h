#pragma once
// Names of the messages liblindev posts, as the monitor prints them.

#include <string>

#include "platform/MessageWindow.h"

namespace tyctl {

// "WM_TY_RINGDETECTED" ...; "WM_USER+<n>" for a number lindev does not post.
std::string MessageName(vt::UINT message);

}  // namespace tyctl
