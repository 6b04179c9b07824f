#pragma once
// What a desk writes into every call it logs, so that desks sharing one call
// log can tell their calls apart and a call written twice (replayed after
// the server was away) is stored once.

#include <filesystem>
#include <string>

#include "platform/IniStore.h"

namespace vantelo {

// The setting DeskName, or the host name when it is empty (at most 64
// characters, the width of the column).
std::string DeskName(const std::filesystem::path& settingsFile = vt::SettingsFilePath());

// A new unique id (RFC 9562 version 7: time-ordered, 74 random bits; 36
// characters).
std::string NewCallUid();

}  // namespace vantelo
