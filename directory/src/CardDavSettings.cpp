#include "directory/CardDavSettings.h"

#include <algorithm>
#include <cctype>

#include "directory/CardDavTexts.h"
#include "i18n/Translations.h"
#include "platform/IniStore.h"
#include "platform/TextTrim.h"

namespace directory {

namespace {

bool HasControl(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](unsigned char c) { return c < ' ' || c == 0x7f; });
}

// http(s)://host[...] with a host and nothing a request line could trip on.
bool PlausibleUrl(const std::string& url) {
    std::string lower = url;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    size_t rest = 0;
    if (lower.rfind("http://", 0) == 0)
        rest = 7;
    else if (lower.rfind("https://", 0) == 0)
        rest = 8;
    else
        return false;
    if (rest >= url.size() || url[rest] == '/' || HasControl(url))
        return false;
    return url.find(' ') == std::string::npos;
}

}  // namespace

std::optional<CardDavSettings> ReadCardDavSettings(const vt::IniStore& store, std::string* error) {
    std::string scratch;
    if (!error)
        error = &scratch;
    const auto get = [&](const char* key) {
        return vt::TrimBlanks(store.GetString(kCardDavSection, key));
    };
    const auto fail = [&](const char* text, const std::string& arg = {}) {
        *error = vt::i18n::Tr(texts::kContext, text, {arg});
        return std::nullopt;
    };
    CardDavSettings s;
    if (store.Has(kCardDavSection, "Password"))
        return fail(texts::kPasswordInFile);
    s.url = get("Url");
    if (s.url.empty())
        return s;
    if (!PlausibleUrl(s.url))
        return fail(texts::kBadUrl, s.url);
    if (s.url.back() != '/')
        s.url += '/';  // a collection: its members' addresses are made from it
    s.user = get("User");
    if (HasControl(s.user))
        return fail(texts::kBadUser);
    s.passwordFile = get("PasswordFile");
    const std::string minutes = get("SyncMinutes");
    if (!minutes.empty()) {
        const bool digits =
            minutes.size() <= 4 && std::all_of(minutes.begin(), minutes.end(),
                                               [](unsigned char c) { return std::isdigit(c); });
        const int value = digits ? std::stoi(minutes) : 0;
        if (value < 1 || value > 1440)
            return fail(texts::kBadMinutes, minutes);
        s.syncMinutes = value;
    }
    return s;
}

std::optional<CardDavSettings> LoadCardDavSettings(std::string* error,
                                                   const std::filesystem::path& file) {
    vt::IniStore store(file.empty() ? vt::SettingsFilePath() : file);
    if (!store.Load()) {
        if (error)
            *error =
                vt::i18n::Tr(texts::kContext, texts::kSettingsUnreadable, {store.File().string()});
        return std::nullopt;
    }
    return ReadCardDavSettings(store, error);
}

void WriteCardDavSettings(vt::IniStore& store, const CardDavSettings& settings) {
    store.SetString(kCardDavSection, "Url", settings.url);
    store.SetString(kCardDavSection, "User", settings.user);
    store.SetString(kCardDavSection, "PasswordFile", settings.passwordFile.string());
    store.SetInt(kCardDavSection, "SyncMinutes", settings.syncMinutes);
}

notify::PasswordLookup FindCardDavPassword(const CardDavSettings& settings) {
    return notify::FindStoredPassword({.feature = "carddav",
                                       .label = "Vantelo address book",
                                       .server = settings.url,
                                       .user = settings.user,
                                       .passwordFile = settings.passwordFile});
}

}  // namespace directory
