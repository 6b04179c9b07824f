#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "testsupport/TestEnvironment.h"
#include "vanplay/InstanceGuard.h"
#include "vanplay/PlayerIds.h"

using vanplay::InstanceGuard;

namespace {

TEST(InstanceGuard, FirstStartTakesTheLock) {
    vt::test::TestEnvironment env;
    InstanceGuard guard;
    EXPECT_EQ(guard.Acquire(), InstanceGuard::Outcome::Acquired);
    EXPECT_TRUE(std::filesystem::exists(env.RuntimeDir() / "VRC Player.lock"));
}

TEST(InstanceGuard, SecondStartIsRefusedWithTheWarning) {
    vt::test::TestEnvironment env;
    InstanceGuard first;
    ASSERT_EQ(first.Acquire(), InstanceGuard::Outcome::Acquired);
    InstanceGuard second;
    EXPECT_EQ(second.Acquire(), InstanceGuard::Outcome::AlreadyRunning);

    QString title, text;
    bool onTop = false, critical = false, shown = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = true;
        title = box->windowTitle();
        text = box->text();
        onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        critical = box->icon() == QMessageBox::Critical;
        box->accept();
    });
    InstanceGuard third;
    EXPECT_FALSE(third.AcquireOrWarn());
    ASSERT_TRUE(shown) << "a modal warning box was shown";
    EXPECT_EQ(title, QString::fromUtf8(vanplay::kWarningCaption));
    EXPECT_EQ(text, QString::fromUtf8("이미 프로그램이 실행중입니다."));
    EXPECT_TRUE(onTop);
    EXPECT_TRUE(critical);
    InstanceGuard fourth;
    EXPECT_EQ(fourth.Acquire(), InstanceGuard::Outcome::AlreadyRunning)
        << "the first holder keeps it";
}

TEST(InstanceGuard, LockEndsWithItsHolder) {
    vt::test::TestEnvironment env;
    {
        InstanceGuard first;
        ASSERT_EQ(first.Acquire(), InstanceGuard::Outcome::Acquired);
    }
    InstanceGuard next;
    EXPECT_EQ(next.Acquire(), InstanceGuard::Outcome::Acquired);
}

}  // namespace
