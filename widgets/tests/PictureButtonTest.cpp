#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "widgets/PictureButton.h"

using vt::widgets::PictureButton;

namespace {

QPixmap Filled(const QColor& colour) {
    QPixmap p(20, 12);
    p.fill(colour);
    return p;
}

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button_.SetPictures(Filled(Qt::blue), Filled(Qt::black));
        button_.resize(20, 12);
        button_.show();
    }

    QRgb Shown() const { return button_.CurrentPicture().toImage().pixel(0, 0); }

    PictureButton button_;
};

TEST_F(PictureButtonTest, ShowsTheNormalPictureAtRest) {
    EXPECT_FALSE(button_.Hot());
    EXPECT_EQ(Shown(), QColor(Qt::black).rgb());
    EXPECT_EQ(button_.sizeHint(), QSize(20, 12));
}

TEST_F(PictureButtonTest, ShowsTheHotPictureUnderThePointer) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button_, &enter);
    EXPECT_TRUE(button_.Hot());
    EXPECT_EQ(Shown(), QColor(Qt::blue).rgb());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button_, &leave);
    EXPECT_EQ(Shown(), QColor(Qt::black).rgb());
}

TEST_F(PictureButtonTest, ShowsTheHotPictureWhilePressedAndClicks) {
    QSignalSpy clicked(&button_, &QAbstractButton::clicked);
    QTest::mousePress(&button_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button_.isDown());
    EXPECT_EQ(Shown(), QColor(Qt::blue).rgb());
    QTest::mouseRelease(&button_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(PictureButtonTest, KeysNeverPressIt) {
    QSignalSpy clicked(&button_, &QAbstractButton::clicked);
    EXPECT_EQ(button_.focusPolicy(), Qt::NoFocus);
    QTest::keyClick(&button_, Qt::Key_Return);
    QTest::keyClick(&button_, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(PictureButtonTest, SeparatePressedPicture) {
    button_.SetPictures(Filled(Qt::blue), Filled(Qt::black), Filled(Qt::red));
    QTest::mousePress(&button_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Shown(), QColor(Qt::red).rgb());
    QTest::mouseRelease(&button_, Qt::LeftButton, {}, QPoint(5, 5));
}

}  // namespace
