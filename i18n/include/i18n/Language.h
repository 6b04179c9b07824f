#pragma once
// Which language the programs speak. Korean is the source language of every
// text; English is the one translation. The `Language` setting ("auto",
// "ko", "en") overrides the user's locale.

#include <string>

namespace vt::i18n {

enum class Language { Korean, English };

// The locale variables that name the language of messages, in the order the
// C library weighs them; a null pointer for one that is not set.
struct LocaleVariables {
    const char* lcAll = nullptr;
    const char* lcMessages = nullptr;
    const char* lang = nullptr;
};

// English for a setting of "en", Korean for "ko"; otherwise ("auto", empty or
// anything else) English when the locale's language is `en*`, else Korean.
Language ChooseLanguage(const std::string& setting, const LocaleVariables& locale);

// The locale variables of this process.
LocaleVariables ProcessLocale();

// The `Language` value of the settings file, "auto" when there is none.
std::string LanguageSetting();

// The language of this user: the setting, then this process's locale.
Language UserLanguage();

// "ko" or "en": the suffix of the translation files.
const char* LanguageCode(Language language);

}  // namespace vt::i18n
