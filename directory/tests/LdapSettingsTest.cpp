#include <gtest/gtest.h>

#include "directory/LdapSettings.h"
#include "platform/IniStore.h"
#include "testsupport/TestEnvironment.h"

namespace directory {
namespace {

class LdapSettingsTest : public ::testing::Test {
protected:
    std::optional<LdapSettings> Read(const std::vector<std::pair<std::string, std::string>>& keys,
                                     std::string* error) {
        vt::IniStore store(env_.Root() / "settings.ini");
        for (const auto& [key, value] : keys) store.SetString(kLdapSection, key, value);
        return ReadLdapSettings(store, error);
    }
    vt::test::TestEnvironment env_;
};

TEST_F(LdapSettingsTest, DefaultsAndEveryKey) {
    std::string error;
    auto off = Read({}, &error);
    ASSERT_TRUE(off);
    EXPECT_FALSE(off->Enabled());

    auto plain =
        Read({{"Server", "ldap://dir.example.org"}, {"Base", "dc=example,dc=org"}}, &error);
    ASSERT_TRUE(plain) << error;
    EXPECT_TRUE(plain->Enabled());
    EXPECT_FALSE(plain->startTls);
    EXPECT_EQ(plain->numberAttributes,
              (std::vector<std::string>{"telephoneNumber", "mobile", "homePhone"}));
    EXPECT_EQ(plain->nameAttributes, (std::vector<std::string>{"displayName", "cn"}));

    auto full = Read({{"Server", "ldap://dir.example.org:389"},
                      {"StartTls", "1"},
                      {"Base", "ou=people,dc=example,dc=org"},
                      {"BindDn", "cn=phone,dc=example,dc=org"},
                      {"PasswordFile", "/home/me/ldap.pw"},
                      {"NumberAttributes", " telephoneNumber , pager "},
                      {"NameAttributes", "cn"}},
                     &error);
    ASSERT_TRUE(full) << error;
    EXPECT_TRUE(full->startTls);
    EXPECT_EQ(full->bindDn, "cn=phone,dc=example,dc=org");
    EXPECT_EQ(full->passwordFile, "/home/me/ldap.pw");
    EXPECT_EQ(full->numberAttributes, (std::vector<std::string>{"telephoneNumber", "pager"}));
    EXPECT_EQ(full->nameAttributes, (std::vector<std::string>{"cn"}));
}

TEST_F(LdapSettingsTest, ValuesThatCannotBeUsedAreOneLineNamingTheKey) {
    const std::pair<std::vector<std::pair<std::string, std::string>>, std::string> table[] = {
        {{{"Server", "http://dir"}, {"Base", "o=x"}}, "Server 'http://dir'"},
        {{{"Server", "ldap://dir"}}, "Base is empty"},
        {{{"Server", "ldaps://dir"}, {"Base", "o=x"}, {"StartTls", "1"}}, "StartTls needs"},
        {{{"Server", "ldap://dir"}, {"Base", "o=x"}, {"StartTls", "maybe"}}, "StartTls 'maybe'"},
        {{{"Server", "ldap://dir"}, {"Base", "o=x"}, {"NumberAttributes", "mobile,*)(cn=*"}},
         "NumberAttributes has '*)(cn=*'"},
        {{{"Server", "ldap://dir"}, {"Base", "o=x"}, {"NameAttributes", "display name"}},
         "NameAttributes has 'display name'"},
        {{{"Server", "ldap://dir"}, {"Base", "o=x"}, {"Password", "secret"}},
         "a Password key is never read"},
    };
    for (const auto& [keys, expected] : table) {
        std::string error;
        EXPECT_FALSE(Read(keys, &error));
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_EQ(error.rfind("directory: ", 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace directory
