#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/SkinSlider.h"

using vt::widgets::SkinSlider;

namespace {

class SkinSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider_.setRange(0, 100);
        slider_.resize(200, 20);
        slider_.show();
    }

    SkinSlider slider_{Qt::Horizontal};
    QSignalSpy scrolled_{&slider_, &SkinSlider::Scrolled};
};

TEST_F(SkinSliderTest, ProgrammaticMovesAreNotReported) {
    slider_.setValue(40);
    slider_.setSliderPosition(60);
    EXPECT_EQ(scrolled_.count(), 0);
}

TEST_F(SkinSliderTest, DraggingReportsMovesThenTheEnd) {
    const QPoint grab = slider_.HandleRect().center();
    QTest::mousePress(&slider_, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&slider_, grab + QPoint(60, 0));
    QTest::mouseMove(&slider_, grab + QPoint(100, 0));
    QTest::mouseRelease(&slider_, Qt::LeftButton, {}, grab + QPoint(100, 0));
    ASSERT_GE(scrolled_.count(), 2);
    for (int i = 0; i + 1 < scrolled_.count(); ++i)
        EXPECT_FALSE(scrolled_.at(i).at(1).toBool()) << "moves before the end";
    const auto last = scrolled_.last();
    EXPECT_TRUE(last.at(1).toBool());
    EXPECT_GT(last.at(0).toInt(), 30);
    EXPECT_EQ(last.at(0).toInt(), slider_.value());
}

TEST_F(SkinSliderTest, KeyStepIsAMoveAndAnEnd) {
    slider_.setFocus();
    QTest::keyClick(&slider_, Qt::Key_PageUp);
    ASSERT_EQ(scrolled_.count(), 2);
    EXPECT_EQ(scrolled_.at(0).at(0).toInt(), slider_.pageStep());
    EXPECT_FALSE(scrolled_.at(0).at(1).toBool());
    EXPECT_TRUE(scrolled_.at(1).at(1).toBool());
}

TEST_F(SkinSliderTest, PaintsNoBackground) {
    QWidget parent;
    parent.resize(200, 20);
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(10, 200, 10));
    parent.setPalette(pal);
    SkinSlider slider(Qt::Horizontal, &parent);
    slider.setGeometry(0, 0, 200, 20);
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, 1), QColor(10, 200, 10));
}

}  // namespace
