// The address-book server dialog as a person uses it: what is typed is saved
// into [CardDav] of the settings file (never a password), settings the sync
// cannot use are refused with one line and nothing saved, and "sync now"
// saves first and then asks the program for a sync.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "CardDavDialog.h"
#include "platform/IniStore.h"
#include "testsupport/TestEnvironment.h"

namespace vantelo::pages::test {
namespace {

TEST(CardDavDialogTest, TypedSettingsAreSavedOrRefusedWithOneLine) {
    vt::test::TestEnvironment env;
    const auto file = env.Root() / "settings.ini";
    int saved = 0, syncs = 0;
    CardDavDialog dialog(
        file, [&] { ++saved; }, [&] { ++syncs; });
    struct Case {
        const char* url;
        bool ok;
    };
    for (const Case& c :
         {Case{"ftp://dav.ex.kr/", false}, Case{"https://dav.ex.kr/u/book", true}}) {
        dialog.Url().clear();
        QTest::keyClicks(&dialog.Url(), QString::fromUtf8(c.url));
        dialog.User().setText(QStringLiteral("desk"));
        dialog.PasswordFile().setText(QStringLiteral("/home/desk/.carddav"));
        dialog.Minutes().setValue(12);
        EXPECT_EQ(dialog.Save(), c.ok) << c.url;
        vt::IniStore store(file);
        ASSERT_TRUE(store.Load());
        EXPECT_EQ(store.GetString("CardDav", "Url"), c.ok ? "https://dav.ex.kr/u/book/" : "")
            << c.url;
        EXPECT_EQ(dialog.StatusText().isEmpty(), c.ok) << dialog.StatusText().toStdString();
        EXPECT_FALSE(dialog.StatusText().contains('\n'));
    }
    EXPECT_EQ(saved, 1);
    vt::IniStore store(file);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.GetString("CardDav", "User"), "desk");
    EXPECT_EQ(store.GetString("CardDav", "PasswordFile"), "/home/desk/.carddav");
    EXPECT_EQ(store.GetInt("CardDav", "SyncMinutes", 0), 12);
    EXPECT_FALSE(store.Has("CardDav", "Password"));

    // A new dialog shows what was saved; "sync now" saves and asks.
    CardDavDialog again(
        file, [&] { ++saved; }, [&] { ++syncs; });
    EXPECT_EQ(again.Url().text(), QStringLiteral("https://dav.ex.kr/u/book/"));
    EXPECT_EQ(again.Minutes().value(), 12);
    QPushButton* sync = nullptr;
    for (auto* b : again.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8("지금 동기화"))
            sync = b;
    ASSERT_NE(sync, nullptr);
    sync->click();
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(saved, 2);
}

}  // namespace
}  // namespace vantelo::pages::test
