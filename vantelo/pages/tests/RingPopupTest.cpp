// The ring pop-up on a manual clock: where it stands, how it grows and
// shrinks, its text and its one click.

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "RingPopup.h"
#include "WindowFixture.h"
#include "testsupport/QtPump.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages::test {
namespace {

using vt::test::PumpUntil;

TEST(RingPopupGeometry, RestsOnTheWorkAreaTenPixelsFromItsRightEdge) {
    const QRect full = RingPopup::FullGeometry(QRect(0, 0, 1280, 984));
    EXPECT_EQ(full, QRect(1280 - 10 - 150, 984 - 100, 150, 100));
    const QRect shifted = RingPopup::FullGeometry(QRect(100, 50, 800, 600));
    EXPECT_EQ(shifted.right() + 1, 100 + 800 - 10);
    EXPECT_EQ(shifted.bottom() + 1, 50 + 600);
}

class RingPopupTest : public WindowFixture {
protected:
    // Shows the pop-up and lets the manual clock drive it.
    RingPopup* Ring(const QString& text) {
        window_->ShowRingPopup(text);
        popupTimers_.SetSink(window_->Popup());
        return window_->Popup();
    }
};

TEST_F(RingPopupTest, GrowsUpwardsInStepsAndShrinksWithShorterPauses) {
    Open();
    RingPopup* popup = Ring("Vantelo\n Ring");
    ASSERT_NE(popup, nullptr);
    const QRect full =
        RingPopup::FullGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(popup->CurrentHeight(), 5);
    EXPECT_EQ(popup->geometry().bottom(), full.bottom());
    popupTimers_.Advance(20);
    EXPECT_EQ(popup->CurrentHeight(), 10);
    EXPECT_EQ(popup->geometry(), QRect(full.x(), full.bottom() - 9, 150, 10));
    popupTimers_.Advance(20 * 18);
    EXPECT_EQ(popup->CurrentHeight(), 100);
    EXPECT_EQ(popup->geometry(), full);
    EXPECT_FALSE(popupTimers_.IsRunning(RingPopup::kTimerGrow));
    EXPECT_EQ(popup->Text(), "Vantelo\n Ring");

    // A second ring while it shows replaces the text, not the pop-up.
    window_->ShowRingPopup("홍길동\n0212345678");
    EXPECT_EQ(window_->Popup(), popup);
    EXPECT_EQ(popup->Text(), "홍길동\n0212345678");

    QSignalSpy closed(popup, &RingPopup::Closed);
    window_->CloseRingPopup();
    // Pauses of 20, 19, 18 ... ms: after 20 + 19 ms it has lost two steps.
    popupTimers_.Advance(20);
    EXPECT_EQ(popup->CurrentHeight(), 95);
    EXPECT_EQ(popupTimers_.PeriodOf(RingPopup::kTimerShrink), 19u);
    popupTimers_.Advance(19);
    EXPECT_EQ(popup->CurrentHeight(), 90);
    EXPECT_EQ(popup->geometry().bottom(), full.bottom());
    // 20 steps in all: 20 + 19 + ... + 1 ms.
    popupTimers_.Advance(210 - 39 - 1);
    EXPECT_EQ(closed.count(), 0);
    popupTimers_.Advance(1);
    EXPECT_EQ(closed.count(), 1);
    ASSERT_TRUE(PumpUntil([&] { return window_->Popup() == nullptr; }));
}

TEST_F(RingPopupTest, OnlyTheFirstClickReachesThePhone) {
    Open();
    RingPopup* popup = Ring("Vantelo\n Ring");
    popupTimers_.Advance(400);
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_TRUE(PumpUntil([&] { return !phone_.calls.empty(); }));
    vt::test::PumpFor(50);
    EXPECT_EQ(phone_.calls,
              std::vector<std::string>{"message " + std::to_string(kPopupClicked) + " 0 0"});
}

TEST_F(RingPopupTest, ANewRingWhileOneShrinksOpensAFreshPopup) {
    Open();
    Ring("one");
    popupTimers_.Advance(400);
    window_->CloseRingPopup();
    popupTimers_.Advance(20);
    window_->SetRingPopupText("ignored while closing");
    EXPECT_EQ(window_->Popup()->Text(), "one");
    Ring("two");
    ASSERT_NE(window_->Popup(), nullptr);
    EXPECT_FALSE(window_->Popup()->Closing());
    EXPECT_EQ(window_->Popup()->Text(), "two");
    EXPECT_EQ(window_->Popup()->CurrentHeight(), 5);
}

}  // namespace
}  // namespace vantelo::pages::test
