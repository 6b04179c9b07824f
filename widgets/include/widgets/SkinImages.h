#pragma once
// Skin pictures keyed by resource id, with one colour key for both window
// programs: pixels of exactly magenta (255, 0, 255) are see-through. Both
// paint their pictures at start and keep them here.

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <functional>
#include <map>

namespace vt::widgets {

class SkinImages {
public:
    static constexpr QRgb kColourKey = 0xFFFF00FF;

    void Add(int id, QImage image);
    // A picture painted the first time it is asked for: one that a window
    // may show late or never costs nothing at its start.
    void AddPainter(int id, std::function<QImage()> paint);
    bool Has(int id) const;
    // The picture as painted (magenta still in it); a null image if unknown.
    QImage Image(int id) const;
    // The picture with the colour key made transparent.
    QPixmap Keyed(int id) const;

    // A copy of `image` whose magenta pixels are fully transparent.
    static QImage ApplyColourKey(const QImage& image);
    // The pixels of `shape` that are not magenta, as one-pixel-high runs:
    // the region a window of that shape covers.
    static QRegion RegionFromShape(const QImage& shape);

private:
    mutable std::map<int, QImage> images_;
    mutable std::map<int, std::function<QImage()>> painters_;
};

}  // namespace vt::widgets
