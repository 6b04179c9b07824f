#include <gtest/gtest.h>

#include "widgets/SkinImages.h"

using vt::widgets::SkinImages;

namespace {

QImage ShapeWithCornersAndHole() {
    QImage img(10, 6, QImage::Format_RGB32);
    img.fill(QColor(20, 40, 60));
    img.setPixel(0, 0, SkinImages::kColourKey);
    img.setPixel(9, 5, SkinImages::kColourKey);
    img.setPixel(4, 3, SkinImages::kColourKey);  // a hole inside
    return img;
}

TEST(SkinImages, KeepsImagesById) {
    SkinImages skin;
    EXPECT_FALSE(skin.Has(130));
    EXPECT_TRUE(skin.Image(130).isNull());
    skin.Add(130, ShapeWithCornersAndHole());
    EXPECT_TRUE(skin.Has(130));
    EXPECT_EQ(skin.Image(130).size(), QSize(10, 6));
    EXPECT_EQ(skin.Keyed(130).size(), QSize(10, 6));
}

TEST(SkinImages, APainterPaintsOnceWhenItsPictureIsFirstAskedFor) {
    SkinImages skin;
    int painted = 0;
    skin.AddPainter(131, [&] {
        ++painted;
        return ShapeWithCornersAndHole();
    });
    EXPECT_TRUE(skin.Has(131));
    EXPECT_EQ(painted, 0);
    EXPECT_EQ(skin.Image(131), ShapeWithCornersAndHole());
    EXPECT_EQ(skin.Keyed(131).size(), QSize(10, 6));
    EXPECT_EQ(painted, 1);
    // A picture given later replaces the painter's, painted or not.
    skin.AddPainter(132, [&] { return ++painted, QImage(1, 1, QImage::Format_RGB32); });
    skin.Add(132, ShapeWithCornersAndHole());
    EXPECT_EQ(skin.Image(132).size(), QSize(10, 6));
    EXPECT_EQ(painted, 1);
}

TEST(SkinImages, ColourKeyBecomesTransparent) {
    const QImage keyed = SkinImages::ApplyColourKey(ShapeWithCornersAndHole());
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(keyed.pixel(4, 3)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(20, 40, 60));
    // Near-magenta is not the key.
    QImage almost(1, 1, QImage::Format_RGB32);
    almost.setPixel(0, 0, qRgb(254, 0, 255));
    EXPECT_EQ(qAlpha(SkinImages::ApplyColourKey(almost).pixel(0, 0)), 255);
}

TEST(SkinImages, RegionLeavesOutEveryMagentaPixel) {
    const QRegion region = SkinImages::RegionFromShape(ShapeWithCornersAndHole());
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(9, 5)));
    EXPECT_FALSE(region.contains(QPoint(4, 3))) << "a magenta pixel inside makes a hole";
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(3, 3)));
    EXPECT_TRUE(region.contains(QPoint(5, 3)));
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 10, 6));
    int pixels = 0;
    for (const QRect& r : region) pixels += r.width() * r.height();
    EXPECT_EQ(pixels, 60 - 3);
}

TEST(SkinImages, AllMagentaShapeIsEmpty) {
    QImage img(5, 5, QImage::Format_RGB32);
    img.fill(SkinImages::kColourKey);
    EXPECT_TRUE(SkinImages::RegionFromShape(img).isEmpty());
}

}  // namespace
