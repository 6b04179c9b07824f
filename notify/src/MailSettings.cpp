#include "notify/MailSettings.h"

#include <algorithm>
#include <cctype>

#include "platform/IniStore.h"
#include "platform/TextTrim.h"
#include "platform/Translate.h"

namespace notify {

namespace {

constexpr const char* kContext = "notify";

// A settings problem in the user's language; "%1" is `arg`.
std::string Say(const char* text, const std::string& arg = {}) {
    return vt::Translate(kContext, text, {arg});
}

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
        *error = "mail: " + vt::Translate(kContext,
                                          QT_TRANSLATE_NOOP("notify", "%1 (설정 파일 %2, [Mail])"),
                                          {line, store.File().string()});
        return std::nullopt;
    };

    MailSettings s;
    s.server = get("Server");
    if (s.server.empty())
        return s;
    if (!PlausibleServer(s.server))
        return fail(Say(QT_TRANSLATE_NOOP("notify",
                                          "Server '%1'은(는) smtp://호스트:포트 또는 "
                                          "smtps://호스트:포트가 아닙니다"),
                        s.server));
    s.from = get("From");
    if (!PlausibleAddress(s.from))
        return fail(
            s.from.empty()
                ? Say(QT_TRANSLATE_NOOP("notify", "From이 비어 있습니다"))
                : Say(QT_TRANSLATE_NOOP("notify", "From '%1'은(는) 메일 주소가 아닙니다"), s.from));
    const std::string to = get("To");
    std::size_t at = 0;
    while (at <= to.size()) {
        const auto comma = std::min(to.find(',', at), to.size());
        const std::string one = vt::TrimBlanks(to.substr(at, comma - at));
        if (!one.empty()) {
            if (!PlausibleAddress(one))
                return fail(
                    Say(QT_TRANSLATE_NOOP("notify", "To '%1'은(는) 메일 주소가 아닙니다"), one));
            s.to.push_back(one);
        }
        at = comma + 1;
    }
    if (s.to.empty())
        return fail(Say(QT_TRANSLATE_NOOP("notify", "To가 비어 있습니다")));
    s.user = get("User");
    if (std::any_of(s.user.begin(), s.user.end(), [](unsigned char c) { return c < ' '; }))
        return fail(Say(QT_TRANSLATE_NOOP("notify", "User에 제어 문자가 있습니다")));
    const std::string attach = vt::AsciiLower(get("Attach"));
    if (attach.empty() || attach == "mp3")
        s.attach = AttachKind::Mp3;
    else if (attach == "wav")
        s.attach = AttachKind::Wav;
    else if (attach == "none")
        s.attach = AttachKind::None;
    else
        return fail(
            Say(QT_TRANSLATE_NOOP("notify", "Attach '%1'은(는) mp3, wav, none 중 하나가 아닙니다"),
                attach));
    s.passwordFile = get("PasswordFile");
    if (store.Has(kMailSection, "Password"))
        return fail(Say(QT_TRANSLATE_NOOP("notify",
                                          "Password 키는 읽지 않습니다. 비밀번호는 비밀 저장소나 "
                                          "PasswordFile이 가리키는 0600 파일에 두십시오")));
    return s;
}

std::optional<MailSettings> LoadMailSettings(std::string* error,
                                             const std::filesystem::path& file) {
    vt::IniStore store(file.empty() ? vt::SettingsFilePath() : file);
    if (!store.Load()) {
        if (error)
            *error =
                "mail: " + Say(QT_TRANSLATE_NOOP("notify", "설정 파일 %1을(를) 읽을 수 없습니다"),
                               store.File().string());
        return std::nullopt;
    }
    return ReadMailSettings(store, error);
}

}  // namespace notify
