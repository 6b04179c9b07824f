#pragma once
// The Secret Service (libsecret) asked for the mail password, with a time
// limit. nullopt where no session bus or no secret service runs, nothing is
// stored, or no answer came in time.

#include <chrono>
#include <optional>
#include <string>

namespace notify {

std::optional<std::string> LookupSecretPassword(const std::string& server, const std::string& user,
                                                std::chrono::milliseconds wait);

}  // namespace notify
