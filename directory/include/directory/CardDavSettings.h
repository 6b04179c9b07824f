#pragma once
// The [CardDav] section of the settings file: the address book's URL, the
// user, the file that may hold the password (PasswordFile) and how often it
// is synchronised (SyncMinutes). No Url means the sync is off. The password
// is never read from here: the Secret Service, else PasswordFile.

#include <filesystem>
#include <optional>
#include <string>

#include "notify/StoredPassword.h"

namespace vt {
class IniStore;
}

namespace directory {

inline constexpr const char* kCardDavSection = "CardDav";
inline constexpr int kDefaultSyncMinutes = 5;

struct CardDavSettings {
    std::string url;  // http(s)://host/path/ of the address book collection
    std::string user;
    std::filesystem::path passwordFile;
    int syncMinutes = kDefaultSyncMinutes;  // 1..1440

    bool Enabled() const { return !url.empty(); }
};

// Reads and checks the section; a value that cannot be used gives nullopt
// and one line (in the user's language) in `*error`.
std::optional<CardDavSettings> ReadCardDavSettings(const vt::IniStore& store, std::string* error);
// The same from the settings file (vt::SettingsFilePath() unless given).
std::optional<CardDavSettings> LoadCardDavSettings(std::string* error,
                                                   const std::filesystem::path& file = {});
// Puts the settings into the section (the other sections stay as they are).
void WriteCardDavSettings(vt::IniStore& store, const CardDavSettings& settings);

// The password for the address book: the Secret Service item with server =
// the URL and user = the user, else PasswordFile (mode 0600 only).
notify::PasswordLookup FindCardDavPassword(const CardDavSettings& settings);

}  // namespace directory
