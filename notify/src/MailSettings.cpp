#include "notify/MailSettings.h"

#include <algorithm>
#include <cctype>

#include "platform/IniStore.h"
#include "platform/TextTrim.h"

namespace notify {

namespace {

// A bare address: something@host, nothing that could break the envelope or
// a header (angle brackets, spaces, control characters, commas).
bool PlausibleAddress(const std::string& a) {
    const auto at = a.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == a.size() || a.find('@', at + 1) != a.npos)
        return false;
    return std::none_of(a.begin(), a.end(), [](unsigned char c) {
        return c <= ' ' || c == 0x7f || c == '<' || c == '>' || c == ',' || c == '"';
    });
}

// scheme://host[:port][/...] with a host and, when given, a port 1..65535.
bool PlausibleServer(const std::string& url) {
    std::string rest;
    for (const char* scheme : {"smtp://", "smtps://"})
        if (vt::AsciiLower(url).rfind(scheme, 0) == 0)
            rest = url.substr(std::char_traits<char>::length(scheme));
    if (rest.empty())
        return false;
    const std::string hostPort = rest.substr(0, rest.find('/'));
    if (hostPort.empty() ||
        std::any_of(hostPort.begin(), hostPort.end(), [](unsigned char c) { return c <= ' '; }))
        return false;
    const auto colon = hostPort.rfind(':');
    if (colon == std::string::npos || hostPort.back() == ']')
        return colon != 0;
    const std::string port = hostPort.substr(colon + 1);
    if (colon == 0 || port.empty() || port.size() > 5 ||
        !std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c); }))
        return false;
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

}  // namespace

const char* AttachKindName(AttachKind kind) {
    switch (kind) {
        case AttachKind::Mp3:
            return "mp3";
        case AttachKind::Wav:
            return "wav";
        case AttachKind::None:
            return "none";
    }
    return "none";
}

std::optional<MailSettings> ReadMailSettings(const vt::IniStore& store, std::string* error) {
    std::string scratch;
    if (!error)
        error = &scratch;
    const auto get = [&](const char* key) {
        return vt::TrimBlanks(store.GetString(kMailSection, key));
    };
    const auto fail = [&](const std::string& line) {
        *error = "mail: " + line + " (settings file " + store.File().string() + ", [Mail])";
        return std::nullopt;
    };

    MailSettings s;
    s.server = get("Server");
    if (s.server.empty())
        return s;
    if (!PlausibleServer(s.server))
        return fail("Server '" + s.server + "' is not smtp://host:port or smtps://host:port");
    s.from = get("From");
    if (!PlausibleAddress(s.from))
        return fail(s.from.empty() ? std::string("From is empty")
                                   : "From '" + s.from + "' is not an e-mail address");
    const std::string to = get("To");
    std::size_t at = 0;
    while (at <= to.size()) {
        const auto comma = std::min(to.find(',', at), to.size());
        const std::string one = vt::TrimBlanks(to.substr(at, comma - at));
        if (!one.empty()) {
            if (!PlausibleAddress(one))
                return fail("To '" + one + "' is not an e-mail address");
            s.to.push_back(one);
        }
        at = comma + 1;
    }
    if (s.to.empty())
        return fail("To is empty");
    s.user = get("User");
    if (std::any_of(s.user.begin(), s.user.end(), [](unsigned char c) { return c < ' '; }))
        return fail("User has control characters");
    const std::string attach = vt::AsciiLower(get("Attach"));
    if (attach.empty() || attach == "mp3")
        s.attach = AttachKind::Mp3;
    else if (attach == "wav")
        s.attach = AttachKind::Wav;
    else if (attach == "none")
        s.attach = AttachKind::None;
    else
        return fail("Attach '" + attach + "' is not mp3, wav or none");
    s.passwordFile = get("PasswordFile");
    if (store.Has(kMailSection, "Password"))
        return fail(
            "a Password key is never read: put the password in the secret store or in "
            "a 0600 file named by PasswordFile");
    return s;
}

std::optional<MailSettings> LoadMailSettings(std::string* error,
                                             const std::filesystem::path& file) {
    vt::IniStore store(file.empty() ? vt::SettingsFilePath() : file);
    if (!store.Load()) {
        if (error)
            *error = "mail: the settings file " + store.File().string() + " cannot be read";
        return std::nullopt;
    }
    return ReadMailSettings(store, error);
}

}  // namespace notify
