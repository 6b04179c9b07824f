#pragma once
// The caller-ID server's settings in [VanteloSetting]: CallerIdServer (the
// address and port to listen on; empty, the default, is off) and the desk's
// name that labels its line.

#include <string>

#include "platform/IniStore.h"

namespace callerid {

inline constexpr const char* kServerKey = "CallerIdServer";
inline constexpr const char* kDeskNameKey = "DeskName";

// The CallerIdServer value as written (empty: off).
std::string ServerSetting(const vt::IniStore& settings);
// DeskName, or this machine's host name when it is not set.
std::string DeskName(const vt::IniStore& settings);

}  // namespace callerid
