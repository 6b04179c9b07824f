#pragma once
// The adapter protocol's names inside the line library: lindev::status::kX
// for the status word's bits, lindev::Request::X for the request codes.

#include "usbline/AdapterProtocol.h"

namespace lindev {
namespace status = usbline::protocol::status;
using usbline::protocol::Request;
}  // namespace lindev
