#include "i18n/Language.h"

#include <cstdlib>

#include "platform/IniStore.h"

namespace vt::i18n {

namespace {

bool Empty(const char* value) {
    return value == nullptr || *value == '\0';
}

}  // namespace

Language ChooseLanguage(const std::string& setting, const LocaleVariables& locale) {
    if (setting == "en")
        return Language::English;
    if (setting == "ko")
        return Language::Korean;
    // The first variable that is set decides, as for the C library's
    // LC_MESSAGES category; only English has a translation.
    for (const char* value : {locale.lcAll, locale.lcMessages, locale.lang}) {
        if (Empty(value))
            continue;
        const std::string name(value);
        return name.rfind("en", 0) == 0 ? Language::English : Language::Korean;
    }
    return Language::Korean;
}

LocaleVariables ProcessLocale() {
    return {std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")};
}

std::string LanguageSetting() {
    vt::IniStore store(vt::SettingsFilePath());
    if (!store.Load())
        return "auto";
    return store.GetString(vt::kSettingsSection, "Language", "auto");
}

Language UserLanguage() {
    return ChooseLanguage(LanguageSetting(), ProcessLocale());
}

const char* LanguageCode(Language language) {
    return language == Language::English ? "en" : "ko";
}

}  // namespace vt::i18n
