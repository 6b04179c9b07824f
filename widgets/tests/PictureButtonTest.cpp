#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "widgets/PictureButton.h"

using vt::widgets::PictureButton;

namespace {

// A window that records the keys its children hand on.
class KeyRecorder : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() != Qt::Key_Control)  // the press of the modifier itself
            keys.push_back(e->key());
    }
};

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

// Space and Enter press a focused button; every other key goes on to the
// window it sits in (digits dial there, Escape hides it).
TEST(PictureButtonKeys, SpaceAndEnterPressItOtherKeysGoToTheWindow) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        bool presses;
    };
    const Case cases[] = {
        {Qt::Key_Space, Qt::NoModifier, " ", true},
        {Qt::Key_Return, Qt::NoModifier, "\r", true},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", true},
        {Qt::Key_5, Qt::NoModifier, "5", false},
        {Qt::Key_Escape, Qt::NoModifier, "", false},
        {Qt::Key_Space, Qt::ControlModifier, "", false},
    };
    for (const Case& c : cases) {
        KeyRecorder window;
        auto* button = new PictureButton(&window);
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keyClick(button, c.key, c.modifiers);
        EXPECT_EQ(clicked.count(), c.presses ? 1 : 0) << c.text;
        EXPECT_EQ(window.keys, c.presses ? std::vector<int>{} : std::vector<int>{c.key}) << c.text;
    }
}

TEST_F(PictureButtonTest, TabGivesTheFocusAClickDoesNot) {
    EXPECT_EQ(button_.focusPolicy(), Qt::TabFocus);
}

TEST_F(PictureButtonTest, DrawsAFocusFrameOnlyWithTheFocus) {
    QWidget window;
    auto* first = new PictureButton(&window);
    auto* second = new PictureButton(&window);
    for (PictureButton* b : {first, second}) {
        b->SetPictures(Filled(Qt::blue), Filled(Qt::black));
        b->resize(20, 12);
    }
    second->move(30, 0);
    window.show();
    QApplication::setActiveWindow(&window);
    first->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(first->hasFocus());
    // The frame's light dots along the top edge; the pictures have none.
    const auto lightDots = [](PictureButton* b) {
        const QImage image = b->grab().toImage();
        int n = 0;
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, 1) == QColor(Qt::white).rgb();
        return n;
    };
    EXPECT_GT(lightDots(first), 0);
    EXPECT_EQ(lightDots(second), 0);
}

TEST_F(PictureButtonTest, ShowsItsKeyUnderItsToolTip) {
    button_.setToolTip("Hook Off");
    EXPECT_EQ(button_.ShownToolTip(), "Hook Off");
    button_.SetKeyHint("F5");
    EXPECT_EQ(button_.toolTip(), "Hook Off");  // the system's own tip stays as it is
    EXPECT_EQ(button_.ShownToolTip(), "Hook Off\nF5");
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button_.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&button_, &help);
    EXPECT_EQ(QToolTip::text(), "Hook Off\nF5");
    QToolTip::hideText();
}

TEST_F(PictureButtonTest, SeparatePressedPicture) {
    button_.SetPictures(Filled(Qt::blue), Filled(Qt::black), Filled(Qt::red));
    QTest::mousePress(&button_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Shown(), QColor(Qt::red).rgb());
    QTest::mouseRelease(&button_, Qt::LeftButton, {}, QPoint(5, 5));
}

}  // namespace
