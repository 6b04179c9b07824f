// The [Mail] section and where the password comes from.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "notify/MailPassword.h"
#include "notify/MailSettings.h"
#include "platform/IniStore.h"
#include "testsupport/SecondUser.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

class MailSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { env_.Set("DBUS_SESSION_BUS_ADDRESS", ""); }

    std::optional<notify::MailSettings> Read(
        const std::vector<std::pair<std::string, std::string>>& keys, std::string* error) {
        vt::IniStore store(vt::SettingsFilePath());
        for (const auto& [key, value] : keys) store.SetString("Mail", key, value);
        EXPECT_TRUE(store.Save());
        return notify::LoadMailSettings(error);
    }

    fs::path PasswordFile(const std::string& text, mode_t mode) {
        const fs::path file = env_.Root() / "mail-password";
        std::ofstream(file) << text;
        ::chmod(file.c_str(), mode);
        return file;
    }

    vt::test::TestEnvironment env_;
};

TEST_F(MailSettingsTest, UsableSectionsAreReadAndBadValuesGetOneLineNamingTheKey) {
    using Keys = std::vector<std::pair<std::string, std::string>>;
    const Keys good = {{"Server", "smtp://mail.example.org:587"},
                       {"From", "desk@example.org"},
                       {"To", "me@example.org"}};
    const auto with = [&](const std::string& key, const std::string& value) {
        Keys keys = good;
        for (auto& kv : keys)
            if (kv.first == key) {
                kv.second = value;
                return keys;
            }
        keys.push_back({key, value});
        return keys;
    };
    struct Case {
        Keys keys;
        std::string error;  // empty: accepted
    };
    const Case cases[] = {
        {good, ""},
        {with("Server", "smtps://mail.example.org:465"), ""},
        {with("Server", "smtp://[::1]:25"), ""},
        {with("Server", "http://mail.example.org"), "Server 'http://mail.example.org'"},
        {with("Server", "smtp://host:99999"), "Server"},
        {with("Server", "smtp://"), "Server"},
        {with("From", ""), "From이 비어 있습니다"},
        {with("From", "desk"), "From 'desk'은(는) 메일 주소가 아닙니다"},
        {with("To", " , "), "To가 비어 있습니다"},
        {with("To", "a@example.org, b@x"), ""},
        {with("To", "a@example.org, <b@x>"), "To '<b@x>'"},
        {with("Attach", "WAV"), ""},
        {with("Attach", "ogg"), "Attach 'ogg'은(는) mp3, wav, none 중 하나가 아닙니다"},
        {with("Password", "secret"), "Password 키는 읽지 않습니다"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto settings = Read(c.keys, &error);
        if (c.error.empty()) {
            ASSERT_TRUE(settings) << error;
            EXPECT_TRUE(settings->Enabled());
        } else {
            EXPECT_FALSE(settings);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos);
            EXPECT_NE(error.find(vt::SettingsFilePath().string()), std::string::npos) << error;
        }
    }
}

TEST_F(MailSettingsTest, ValuesAreKeptAsWrittenAndNoServerMeansMailIsOff) {
    std::string error;
    auto s = Read({{"Server", "smtps://mail.example.org:465"},
                   {"From", "desk@example.org"},
                   {"To", "a@example.org, b@example.org"},
                   {"User", "desk"},
                   {"Attach", "none"},
                   {"PasswordFile", "/home/u/.mailpass"}},
                  &error);
    ASSERT_TRUE(s) << error;
    EXPECT_TRUE(s->ImplicitTls());
    EXPECT_EQ(s->to, (std::vector<std::string>{"a@example.org", "b@example.org"}));
    EXPECT_EQ(s->user, "desk");
    EXPECT_EQ(s->attach, notify::AttachKind::None);
    EXPECT_EQ(s->passwordFile, "/home/u/.mailpass");

    s = Read({{"From", "desk@example.org"}}, &error);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->Enabled());
    // Without a file at all, mail is off too.
    fs::remove(vt::SettingsFilePath());
    s = notify::LoadMailSettings(&error);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->Enabled());
    EXPECT_EQ(s->attach, notify::AttachKind::Mp3);
}

TEST_F(MailSettingsTest, APasswordFileMustBeTheUsersOwnAndPrivate) {
    struct Case {
        std::string text;
        mode_t mode;
        std::string password;  // empty: refused
        std::string error;
    };
    const Case cases[] = {
        {"s3cret\n", 0600, "s3cret", ""},
        {"s3cret", 0400, "s3cret", ""},
        {"first line\r\nsecond\n", 0600, "first line", ""},
        {"s3cret\n", 0644, "", "을(를) 다른 사람이 읽을 수 있습니다 (모드 0644): chmod 600 "},
        {"s3cret\n", 0640, "", "(모드 0640)"},
        {"s3cret\n", 0602, "", "(모드 0602)"},
        {"\n", 0600, "", "이(가) 비어 있습니다"},
    };
    for (const auto& c : cases) {
        const fs::path file = PasswordFile(c.text, c.mode);
        const auto r = notify::ReadPasswordFile(file);
        EXPECT_EQ(r.ok, !c.password.empty()) << c.text;
        EXPECT_EQ(r.password, c.password);
        if (!c.error.empty()) {
            EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
            EXPECT_NE(r.error.find(file.string()), std::string::npos) << r.error;
            EXPECT_EQ(r.error.find('\n'), std::string::npos);
        }
        fs::remove(file);
    }
    const fs::path target = PasswordFile("s3cret", 0600);
    fs::create_symlink(target, env_.Root() / "link");
    EXPECT_NE(notify::ReadPasswordFile(env_.Root() / "link").error.find("심볼릭 링크"),
              std::string::npos);
    EXPECT_NE(notify::ReadPasswordFile(env_.Root() / "missing").error.find("읽을 수 없습니다"),
              std::string::npos);
    EXPECT_NE(notify::ReadPasswordFile(env_.Root()).error.find("일반 파일이 아닙니다"),
              std::string::npos);
}

TEST_F(MailSettingsTest, AnotherUsersPasswordFileIsRefusedEvenWhenPrivate) {
    vt::test::SecondUser other;
    if (!other.Available())
        GTEST_SKIP() << other.SkipReason();
    const fs::path file = PasswordFile("s3cret\n", 0600);
    ASSERT_EQ(::chown(file.c_str(), other.Uid(), other.Gid()), 0);
    const auto r = notify::ReadPasswordFile(file);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.password.empty());
    EXPECT_NE(r.error.find(file.string() + "은(는) 다른 사용자의 것입니다"), std::string::npos)
        << r.error;
}

TEST_F(MailSettingsTest, WithoutASecretServiceThePasswordFileIsUsed) {
    notify::MailSettings s;
    s.server = "smtp://127.0.0.1:25";
    s.from = "a@example.org";
    s.to = {"b@example.org"};
    // No user: no login, no password wanted.
    auto r = notify::FindMailPassword(s);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.password.empty());

    s.user = "desk";
    r = notify::FindMailPassword(s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("desk의 비밀번호가 없습니다"), std::string::npos) << r.error;

    s.passwordFile = PasswordFile("pw\n", 0600);
    r = notify::FindMailPassword(s);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.password, "pw");
    EXPECT_EQ(r.source, s.passwordFile.string());

    ::chmod(s.passwordFile.c_str(), 0644);
    r = notify::FindMailPassword(s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("chmod 600"), std::string::npos);
}

}  // namespace
