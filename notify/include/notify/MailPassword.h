#pragma once
// Where the mail password comes from: the desktop's Secret Service (an item
// with the attributes server and user), else the file the settings name in
// PasswordFile, which must be the user's own with mode 0600. Never from the
// settings file itself.

#include <chrono>

#include "notify/MailSettings.h"
#include "notify/StoredPassword.h"

namespace notify {

// Empty User: ok with no password. The Secret Service is asked for at most
// `secretWait`; where none runs the file is tried.
PasswordLookup FindMailPassword(const MailSettings& settings,
                                std::chrono::milliseconds secretWait = std::chrono::seconds(3));

// The Secret Service schema name and attributes, for the documentation:
//   secret-tool store --label="Vantelo mail" server SERVER user USER
inline constexpr const char* kSecretSchema = "org.korvane.Vantelo.Mail";

}  // namespace notify
