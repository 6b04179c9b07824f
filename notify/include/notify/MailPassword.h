#pragma once
// Where the mail password comes from: the desktop's Secret Service (an item
// with the attributes server and user), else the file the settings name in
// PasswordFile, which must be the user's own with mode 0600. Never from the
// settings file itself.

#include <chrono>
#include <filesystem>
#include <string>

#include "notify/MailSettings.h"

namespace notify {

struct PasswordLookup {
    bool ok = false;
    std::string password;  // empty with ok: no login
    std::string source;    // "secret service", the file's path, or "none"
    std::string error;     // one line when !ok
};

// Empty User: ok with no password. The Secret Service is asked for at most
// `secretWait`; where none runs the file is tried.
PasswordLookup FindMailPassword(const MailSettings& settings,
                                std::chrono::milliseconds secretWait = std::chrono::seconds(3));

// The first line of `file`, refused unless it is a regular file of this user
// that nobody else may read or write.
PasswordLookup ReadPasswordFile(const std::filesystem::path& file);

// The Secret Service schema name and attributes, for the documentation:
//   secret-tool store --label="Vantelo mail" server SERVER user USER
inline constexpr const char* kSecretSchema = "org.korvane.Vantelo.Mail";

}  // namespace notify
