#include "directory/LdapSettings.h"

#include <algorithm>
#include <cctype>

#include "platform/IniStore.h"
#include "platform/TextTrim.h"

namespace directory {

namespace {

// An attribute description of the directory's schema: a name (letters,
// digits, hyphens, starting with a letter) or a dotted number. Nothing
// else, so a setting can never change the shape of a search filter.
bool PlausibleAttribute(const std::string& a) {
    if (a.empty() || a.size() > 64)
        return false;
    if (std::isalpha(static_cast<unsigned char>(a[0])))
        return std::all_of(a.begin(), a.end(),
                           [](unsigned char c) { return std::isalnum(c) || c == '-'; });
    return std::all_of(a.begin(), a.end(),
                       [](unsigned char c) { return std::isdigit(c) || c == '.'; });
}

bool ReadList(const std::string& text, std::vector<std::string>& out, std::string& bad) {
    std::vector<std::string> list;
    std::size_t at = 0;
    while (at <= text.size()) {
        const auto comma = std::min(text.find(',', at), text.size());
        const std::string one = vt::TrimBlanks(text.substr(at, comma - at));
        if (!one.empty()) {
            if (!PlausibleAttribute(one)) {
                bad = one;
                return false;
            }
            list.push_back(one);
        }
        at = comma + 1;
    }
    if (!list.empty())
        out = std::move(list);
    return true;
}

bool ReadFlag(const std::string& text, bool& out) {
    const std::string t = vt::AsciiLower(text);
    if (t.empty() || t == "0" || t == "no" || t == "false")
        out = false;
    else if (t == "1" || t == "yes" || t == "true")
        out = true;
    else
        return false;
    return true;
}

}  // namespace

std::optional<LdapSettings> ReadLdapSettings(const vt::IniStore& store, std::string* error) {
    std::string scratch;
    if (!error)
        error = &scratch;
    const auto get = [&](const char* key) {
        return vt::TrimBlanks(store.GetString(kLdapSection, key));
    };
    const auto fail = [&](const std::string& line) {
        *error = "directory: " + line + " (settings file " + store.File().string() + ", [Ldap])";
        return std::nullopt;
    };

    LdapSettings s;
    s.server = get("Server");
    if (s.server.empty())
        return s;
    const std::string scheme = vt::AsciiLower(s.server.substr(0, s.server.find("://") + 3));
    if (scheme != "ldap://" && scheme != "ldaps://" && scheme != "ldapi://")
        return fail("Server '" + s.server + "' is not ldap://, ldaps:// or ldapi://");
    if (std::any_of(s.server.begin(), s.server.end(),
                    [](unsigned char c) { return c <= ' ' || c == 0x7f; }))
        return fail("Server has spaces or control characters");
    if (!ReadFlag(get("StartTls"), s.startTls))
        return fail("StartTls '" + get("StartTls") + "' is not 0 or 1");
    if (s.startTls && scheme != "ldap://")
        return fail("StartTls needs an ldap:// server");
    s.base = get("Base");
    if (s.base.empty())
        return fail("Base is empty");
    s.bindDn = get("BindDn");
    std::string bad;
    if (!ReadList(get("NumberAttributes"), s.numberAttributes, bad))
        return fail("NumberAttributes has '" + bad + "', which is no attribute name");
    if (!ReadList(get("NameAttributes"), s.nameAttributes, bad))
        return fail("NameAttributes has '" + bad + "', which is no attribute name");
    s.passwordFile = get("PasswordFile");
    if (store.Has(kLdapSection, "Password"))
        return fail(
            "a Password key is never read: put the password in the secret store or in "
            "a 0600 file named by PasswordFile");
    return s;
}

std::optional<LdapSettings> LoadLdapSettings(std::string* error,
                                             const std::filesystem::path& file) {
    vt::IniStore store(file.empty() ? vt::SettingsFilePath() : file);
    if (!store.Load()) {
        if (error)
            *error = "directory: the settings file " + store.File().string() + " cannot be read";
        return std::nullopt;
    }
    return ReadLdapSettings(store, error);
}

}  // namespace directory
