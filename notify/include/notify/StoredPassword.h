#pragma once
// Where a password for a server comes from: the desktop's Secret Service (an
// item with the attributes server and user), else a file the settings name
// (PasswordFile), which must be the user's own with mode 0600. Never from the
// settings file itself. Shared by every feature that logs in to a server
// (mail, address books, directories).

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

struct PasswordPlace {
    std::string feature;  // names the feature in messages ("mail", "carddav")
    std::string label;    // the label suggested for secret-tool ("Vantelo mail")
    std::string server;   // the Secret Service item's server attribute
    std::string user;     // empty: no login, no password needed
    std::filesystem::path passwordFile;
};

// The Secret Service is asked for at most `secretWait`; where none runs, or
// it holds nothing for the server and user, the file is tried.
PasswordLookup FindStoredPassword(const PasswordPlace& place,
                                  std::chrono::milliseconds secretWait = std::chrono::seconds(3));

// The first line of `file`, refused unless it is a regular file of this user
// that nobody else may read or write. `feature` starts the error line.
PasswordLookup ReadPasswordFile(const std::filesystem::path& file,
                                const std::string& feature = "mail");

}  // namespace notify
