#pragma once
// The mail password: see SecretPassword.h for where it comes from.

#include <chrono>

#include "notify/MailSettings.h"
#include "notify/SecretPassword.h"

namespace notify {

// Empty User: ok with no password.
PasswordLookup FindMailPassword(const MailSettings& settings,
                                std::chrono::milliseconds secretWait = std::chrono::seconds(3));

// The Secret Service schema name and attributes, for the documentation:
//   secret-tool store --label="Vantelo mail" server SERVER user USER
inline constexpr const char* kSecretSchema = "org.korvane.Vantelo.Mail";

}  // namespace notify
