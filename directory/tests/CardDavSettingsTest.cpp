// The [CardDav] section and where the password comes from.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "directory/CardDavSettings.h"
#include "platform/IniStore.h"
#include "testsupport/TestEnvironment.h"

namespace directory {
namespace {

TEST(CardDavSettingsTest, TheSectionIsReadAndCheckedKeyByKey) {
    vt::test::TestEnvironment env;
    struct Case {
        std::vector<std::pair<const char*, const char*>> keys;
        bool ok;
        const char* inError;
    };
    const std::vector<Case> cases = {
        {{}, true, ""},
        {{{"Url", "https://dav.ex.kr/u/book"}, {"User", "u"}, {"SyncMinutes", "15"}}, true, ""},
        {{{"Url", "ftp://dav.ex.kr/"}}, false, "ftp://dav.ex.kr/"},
        {{{"Url", "https:///nohost"}}, false, "Url"},
        {{{"Url", "http://h/"}, {"SyncMinutes", "0"}}, false, "SyncMinutes"},
        {{{"Url", "http://h/"}, {"SyncMinutes", "soon"}}, false, "soon"},
        {{{"Url", "http://h/"}, {"Password", "x"}}, false, "Password"},
    };
    for (const Case& c : cases) {
        vt::IniStore store(env.Root() / "settings.ini");
        for (const auto& [k, v] : c.keys) store.SetString(kCardDavSection, k, v);
        std::string error;
        const auto s = ReadCardDavSettings(store, &error);
        EXPECT_EQ(s.has_value(), c.ok) << error;
        if (!c.ok)
            EXPECT_NE(error.find(c.inError), std::string::npos) << error;
    }
    vt::IniStore store(env.Root() / "settings.ini");
    CardDavSettings written{
        .url = "http://h/u/book/", .user = "u", .passwordFile = "/p", .syncMinutes = 7};
    WriteCardDavSettings(store, written);
    const auto back = ReadCardDavSettings(store, nullptr);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->url, written.url);
    EXPECT_EQ(back->user, "u");
    EXPECT_EQ(back->passwordFile, "/p");
    EXPECT_EQ(back->syncMinutes, 7);
    // The URL of a collection always ends in a slash.
    store.SetString(kCardDavSection, "Url", "http://h/u/book");
    EXPECT_EQ(ReadCardDavSettings(store, nullptr)->url, "http://h/u/book/");
}

TEST(CardDavSettingsTest, WithoutASecretServiceOnlyAPrivatePasswordFileIsUsed) {
    vt::test::TestEnvironment env;
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string saved = bus ? bus : "";
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const auto file = env.Root() / "carddav.pw";
    std::ofstream(file) << "pw1\n";
    CardDavSettings s{.url = "http://h/u/book/", .user = "u", .passwordFile = file};
    ::chmod(file.c_str(), 0644);
    auto r = FindCardDavPassword(s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("chmod 600"), std::string::npos) << r.error;
    ::chmod(file.c_str(), 0600);
    r = FindCardDavPassword(s);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.password, "pw1");
    s.passwordFile.clear();
    r = FindCardDavPassword(s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("secret-tool store"), std::string::npos);
    if (bus)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", saved.c_str(), 1);
}

}  // namespace
}  // namespace directory
