// The language a user gets: the `Language` setting over the locale, and
// Korean wherever no translation exists.

#include <gtest/gtest.h>

#include "i18n/Language.h"
#include "platform/IniStore.h"
#include "testsupport/TestEnvironment.h"

namespace {

using vt::i18n::Language;

struct Case {
    const char* setting;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Language expected;
};

TEST(LanguageTest, SettingOverridesLocaleAndKoreanIsTheDefault) {
    const Case cases[] = {
        {"auto", nullptr, nullptr, "en_US.UTF-8", Language::English},
        {"auto", nullptr, nullptr, "en_GB", Language::English},
        {"auto", nullptr, nullptr, "ko_KR.UTF-8", Language::Korean},
        {"auto", nullptr, nullptr, "de_DE.UTF-8", Language::Korean},
        {"auto", nullptr, nullptr, "C.UTF-8", Language::Korean},
        {"auto", nullptr, nullptr, nullptr, Language::Korean},
        {"", nullptr, nullptr, "en_US.UTF-8", Language::English},
        // LC_ALL, then LC_MESSAGES, then LANG; an empty variable is unset.
        {"auto", nullptr, "en_US.UTF-8", "ko_KR.UTF-8", Language::English},
        {"auto", nullptr, "ko_KR.UTF-8", "en_US.UTF-8", Language::Korean},
        {"auto", "ko_KR.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::Korean},
        {"auto", "", "", "en_US.UTF-8", Language::English},
        {"ko", nullptr, nullptr, "en_US.UTF-8", Language::Korean},
        {"en", nullptr, nullptr, "ko_KR.UTF-8", Language::English},
        {"en", "C", nullptr, nullptr, Language::English},
        {"fr", nullptr, nullptr, "en_US.UTF-8", Language::English},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " " + (c.lcAll ? c.lcAll : "-") + " " +
                     (c.lcMessages ? c.lcMessages : "-") + " " + (c.lang ? c.lang : "-"));
        EXPECT_EQ(vt::i18n::ChooseLanguage(c.setting, {c.lcAll, c.lcMessages, c.lang}), c.expected);
    }
}

TEST(LanguageTest, UserLanguageReadsTheSettingsFileThenTheLocale) {
    vt::test::TestEnvironment env;
    env.SetLocale("en_US.UTF-8");
    EXPECT_EQ(vt::i18n::LanguageSetting(), "auto");
    EXPECT_EQ(vt::i18n::UserLanguage(), Language::English);

    vt::IniStore store(vt::SettingsFilePath());
    store.SetString(vt::kSettingsSection, "Language", "ko");
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(vt::i18n::LanguageSetting(), "ko");
    EXPECT_EQ(vt::i18n::UserLanguage(), Language::Korean);

    env.Set("LANG", "ko_KR.UTF-8");
    store.SetString(vt::kSettingsSection, "Language", "en");
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(vt::i18n::UserLanguage(), Language::English);
}

}  // namespace
