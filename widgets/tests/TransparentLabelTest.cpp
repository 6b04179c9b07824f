#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "widgets/TransparentLabel.h"

using vt::widgets::TransparentLabel;

namespace {

TEST(TransparentLabel, SetsTextOnlyWhenItDiffers) {
    TransparentLabel label;
    EXPECT_TRUE(label.SetText("    00m : 00s"));
    EXPECT_FALSE(label.SetText("    00m : 00s"));
    EXPECT_EQ(label.Text(), "    00m : 00s");
    EXPECT_TRUE(label.SetText("    00m : 01s"));
}

TEST(TransparentLabel, PaintsOnlyTheTextOverItsParent) {
    QWidget parent;
    parent.resize(120, 30);
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(200, 210, 220));
    parent.setPalette(pal);
    TransparentLabel label(&parent);
    label.setGeometry(0, 0, 120, 30);
    label.setFont(vt::widgets::FixedsysFont(12));
    label.SetTextColour(QColor(64, 64, 196));
    label.SetText("  가나다 call.vrc");
    QImage shot = parent.grab().toImage();
    int textPixels = 0, background = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c == QColor(200, 210, 220))
                ++background;
            if (c.blue() > c.red() + 60)
                ++textPixels;
        }
    EXPECT_GT(textPixels, 20) << "the text is drawn in its colour";
    EXPECT_GT(background, shot.width() * shot.height() / 2) << "the parent shows through";
}

TEST(FixedsysFont, IsBoldFixedPitchAndKoreanCapable) {
    const QFont font = vt::widgets::FixedsysFont(10);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.pointSize(), 10);
    EXPECT_EQ(QFontInfo(font).family(), "NanumGothicCoding");
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0xAC00))) << "Hangul syllable GA";
}

}  // namespace
