#pragma once
// The caller-ID server's setting in [VanteloSetting]: CallerIdServer, the
// address and port to listen on; empty, the default, is off. The desk's name
// that labels its line is the phone's own (vantelo::DeskName).

#include <string>

#include "platform/IniStore.h"

namespace callerid {

inline constexpr const char* kServerKey = "CallerIdServer";

// The CallerIdServer value as written (empty: off).
std::string ServerSetting(const vt::IniStore& settings);

}  // namespace callerid
