#pragma once
// The [Mail] section of the settings file. No Server means mail is off.
// The password is never read from here: see MailPassword.h.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vt {
class IniStore;
}

namespace notify {

inline constexpr const char* kMailSection = "Mail";

enum class AttachKind { Mp3, Wav, None };

struct MailSettings {
    std::string server;  // smtp://host:port (STARTTLS when offered) or smtps://host:port
    std::string from;
    std::vector<std::string> to;
    std::string user;  // empty: no login
    AttachKind attach = AttachKind::Mp3;
    std::filesystem::path passwordFile;

    bool Enabled() const { return !server.empty(); }
    bool ImplicitTls() const { return server.rfind("smtps://", 0) == 0; }
};

// Reads and checks the section. A value that cannot be used gives nullopt
// and one line naming the key in `*error`; no Server gives settings that
// are not Enabled().
std::optional<MailSettings> ReadMailSettings(const vt::IniStore& store, std::string* error);
// The same from the settings file (vt::SettingsFilePath() unless given).
std::optional<MailSettings> LoadMailSettings(std::string* error,
                                             const std::filesystem::path& file = {});

// "mp3", "wav", "none".
const char* AttachKindName(AttachKind kind);

}  // namespace notify
