#pragma once
// Where a server password comes from (mail, directory, address book): the
// desktop's Secret Service (an item with the attributes server and user),
// else the file the settings name in PasswordFile, which must be the user's
// own with mode 0600. Never from the settings file itself.

#include <chrono>
#include <filesystem>
#include <string>

namespace notify {

struct PasswordLookup {
    bool ok = false;
    std::string password;  // empty with ok: no login
    std::string source;    // "secret service", the file's path, or "none"
    std::string error;     // one line when !ok
};

struct PasswordSource {
    std::string purpose;  // starts each error line ("mail", "directory")
    std::string label;    // the secret-tool label the error line suggests
    std::string server;
    std::string user;  // empty: no login, no password
    std::filesystem::path passwordFile;
};

// The Secret Service is asked for at most `secretWait`; where none runs the
// file is tried.
PasswordLookup FindPassword(const PasswordSource& source,
                            std::chrono::milliseconds secretWait = std::chrono::seconds(3));

// The first line of `file`, refused unless it is a regular file of this user
// that nobody else may read or write.
PasswordLookup ReadPasswordFile(const std::filesystem::path& file,
                                const std::string& purpose = "mail");

}  // namespace notify
