#include "widgets/SkinImages.h"

#include <vector>

namespace vt::widgets {

void SkinImages::Add(int id, QImage image) {
    painters_.erase(id);
    images_[id] = std::move(image);
}

void SkinImages::AddPainter(int id, std::function<QImage()> paint) {
    images_.erase(id);
    painters_[id] = std::move(paint);
}

bool SkinImages::Has(int id) const {
    return images_.count(id) != 0 || painters_.count(id) != 0;
}

QImage SkinImages::Image(int id) const {
    if (auto painter = painters_.find(id); painter != painters_.end()) {
        const auto paint = std::move(painter->second);
        painters_.erase(painter);
        images_[id] = paint();
    }
    auto it = images_.find(id);
    return it == images_.end() ? QImage() : it->second;
}

QPixmap SkinImages::Keyed(int id) const {
    return QPixmap::fromImage(ApplyColourKey(Image(id)));
}

QImage SkinImages::ApplyColourKey(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == kColourKey)
                row[x] = 0;
    }
    return out;
}

QRegion SkinImages::RegionFromShape(const QImage& shape) {
    const QImage img = shape.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> runs;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int x = 0;
        while (x < img.width()) {
            while (x < img.width() && (row[x] | 0xFF000000u) == kColourKey) ++x;
            const int start = x;
            while (x < img.width() && (row[x] | 0xFF000000u) != kColourKey) ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

}  // namespace vt::widgets
