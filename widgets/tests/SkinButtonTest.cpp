#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QPainter>
#include <QTest>

#include "widgets/SkinButton.h"

using vt::widgets::SkinButton;
using vt::widgets::SkinTriple;

namespace {

// A full-size image whose left half is `left` and right half `right`.
QImage Halves(const QColor& left, const QColor& right) {
    QImage img(100, 40, QImage::Format_RGB32);
    img.fill(left);
    QPainter(&img).fillRect(50, 0, 50, 40, right);
    return img;
}

QRgb Shown(const SkinButton& b) {
    return b.CurrentPicture().toImage().pixel(2, 2);
}

void Enter(QWidget& w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&w, &enter);
}

TEST(SkinButtonTest, CutsItsPlaceFromTheThreeImagesAndFollowsNewLooks) {
    QWidget parent;
    parent.resize(100, 40);
    auto* button = new SkinButton(&parent);
    const SkinTriple plain{Halves(Qt::black, Qt::gray), Halves(Qt::red, Qt::darkRed),
                           Halves(Qt::blue, Qt::darkBlue)};
    button->SetImages(plain);
    button->Place(QRect(60, 10, 20, 15));
    EXPECT_EQ(button->geometry(), QRect(60, 10, 20, 15));
    EXPECT_EQ(button->CurrentPicture().size(), QSize(20, 15));
    EXPECT_EQ(Shown(*button), QColor(Qt::gray).rgb());  // the right half lies under it

    parent.show();
    parent.activateWindow();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Shown(*button), QColor(Qt::darkRed).rgb());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));

    const SkinTriple lit{Halves(Qt::green, Qt::darkGreen), {}, {}};
    button->SetImages(lit);
    EXPECT_EQ(Shown(*button), QColor(Qt::darkGreen).rgb());
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    // Without a pressed image the normal one is drawn.
    EXPECT_EQ(Shown(*button), QColor(Qt::darkGreen).rgb());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));
}

TEST(SkinButtonTest, HoverLooksOnlyInTheActiveWindow) {
    QWidget parent;
    parent.resize(100, 40);
    auto* button = new SkinButton(&parent);
    button->SetImages(
        {Halves(Qt::black, Qt::gray), Halves(Qt::red, Qt::red), Halves(Qt::blue, Qt::blue)});
    button->Place(QRect(0, 0, 20, 15));
    parent.show();
    if (parent.isActiveWindow())
        GTEST_SKIP() << "the platform made the window active";
    Enter(*button);
    EXPECT_EQ(Shown(*button), QColor(Qt::black).rgb());

    QApplication::setActiveWindow(&parent);
    ASSERT_TRUE(parent.isActiveWindow());
    Enter(*button);
    EXPECT_EQ(Shown(*button), QColor(Qt::blue).rgb());
}

}  // namespace
