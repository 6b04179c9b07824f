#pragma once
// The [Ldap] section of the settings file: the directory asked about
// callers no contact book knows. No Server means the look-up is off. The
// password is never read from here: the Secret Service (server and user =
// BindDn) or the 0600 file named by PasswordFile gives it.
//
//   [Ldap]
//   Server=ldap://directory.example.org     (or ldaps://..., ldapi://...)
//   StartTls=1                               (ldap:// upgraded before binding)
//   Base=ou=people,dc=example,dc=org
//   BindDn=cn=phone,dc=example,dc=org        (none: anonymous)
//   PasswordFile=/home/me/.config/Korvane/ldap.pw
//   NumberAttributes=telephoneNumber,mobile,homePhone
//   NameAttributes=displayName,cn

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vt {
class IniStore;
}

namespace directory {

inline constexpr const char* kLdapSection = "Ldap";

struct LdapSettings {
    std::string server;
    bool startTls = false;
    std::string base;
    std::string bindDn;
    std::filesystem::path passwordFile;
    std::vector<std::string> numberAttributes{"telephoneNumber", "mobile", "homePhone"};
    std::vector<std::string> nameAttributes{"displayName", "cn"};

    bool Enabled() const { return !server.empty(); }
};

// Reads and checks the section. A value that cannot be used gives nullopt
// and one line naming the key in `*error`; no Server gives settings that
// are not Enabled().
std::optional<LdapSettings> ReadLdapSettings(const vt::IniStore& store, std::string* error);
// The same from the settings file (vt::SettingsFilePath() unless given).
std::optional<LdapSettings> LoadLdapSettings(std::string* error,
                                             const std::filesystem::path& file = {});

}  // namespace directory
