#include "vanplay/PlayerSkin.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "vanplay/PlayerIds.h"
#include "widgets/TransparentLabel.h"

namespace vanplay {

using vt::widgets::SkinImages;

namespace {

const QColor kKey = QColor::fromRgb(SkinImages::kColourKey);
const QColor kInk(20, 20, 28);
const QColor kBlue(40, 80, 230);
const QColor kRed(210, 30, 30);

struct Place {
    int id;
    int x, y, w, h;  // dialog units
};

// The dialog layout; pixels are twice the units at 8 x 16 base units.
constexpr Place kLayout[] = {
    {IDC_POSITION, 26, 33, 170, 10}, {IDC_VOLUME, 219, 16, 9, 44}, {IDC_PLAY, 138, 46, 17, 11},
    {IDC_PAUSE, 138, 46, 17, 11},    {IDC_STOP, 157, 46, 18, 11},  {IDC_OPEN, 117, 46, 18, 11},
    {IDC_MP3, 178, 46, 17, 11},      {IDC_MINIMISE, 216, 1, 8, 8}, {IDC_CLOSE, 224, 1, 8, 8},
    {IDC_TIME, 104, 19, 74, 12},     {IDC_STATUS, 25, 45, 78, 12},
};

QImage Blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kKey);
    return img;
}

// A glyph on the colour key, so only the glyph covers the skin.
template <typename Draw>
QImage Glyph(int w, int h, const QColor& colour, Draw draw) {
    QImage img = Blank(w, h);
    QPainter p(&img);
    // No smoothing: blended edge pixels would be near-magenta, not the key.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    draw(p);
    return img;
}

QImage Background() {
    const int w = 477, h = 150;
    QImage img = Blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(0, 0, w - 1, h), 16, 16);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0.0, QColor(196, 204, 222));
    body.setColorAt(0.5, QColor(160, 170, 196));
    body.setColorAt(1.0, QColor(120, 130, 160));
    p.setPen(QPen(QColor(60, 66, 96), 2));
    p.setBrush(body);
    p.drawPath(frame);

    // Caption strip and title.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 80, 120));
    p.drawRoundedRect(QRect(10, 4, 150, 20), 8, 8);
    QFont title("DejaVu Sans");
    title.setBold(true);
    title.setPixelSize(13);
    p.setFont(title);
    p.setPen(QColor(240, 244, 255));
    p.drawText(QRect(10, 4, 150, 20), Qt::AlignCenter, kWindowTitle);

    // Display field: time and position.
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient lcd(0, 30, 0, 90);
    lcd.setColorAt(0.0, QColor(226, 234, 246));
    lcd.setColorAt(1.0, QColor(196, 208, 230));
    p.setPen(QPen(QColor(90, 100, 140), 1));
    p.setBrush(lcd);
    p.drawRoundedRect(QRectF(40.5, 30.5, 364, 58), 8, 8);

    // Volume well.
    p.setBrush(QColor(200, 208, 228));
    p.drawRoundedRect(QRectF(430.5, 28.5, 34, 96), 8, 8);
    p.setPen(QColor(70, 76, 110));
    QFont small("DejaVu Sans");
    small.setPixelSize(9);
    p.setFont(small);
    p.drawText(QRect(430, 124, 34, 14), Qt::AlignCenter, "VOL");

    // The strip of four button places (open, play/pause, stop, mp3) and the
    // status field to their left.
    p.setPen(QPen(QColor(90, 100, 140), 1));
    p.setBrush(QColor(214, 220, 236));
    p.drawRoundedRect(QRectF(44.5, 89.5, 178, 26), 6, 6);
    p.setBrush(QColor(176, 186, 212));
    for (int x : {232, 274, 312, 354}) p.drawRoundedRect(QRectF(x + 0.5, 89.5, 38, 26), 5, 5);
    return img;
}

QImage Cross(const QColor& c) {
    return Glyph(16, 16, c, [](QPainter& p) {
        for (int i = 3; i <= 12; ++i) {
            p.drawRect(i, i, 2, 1);
            p.drawRect(15 - i - 1, i, 2, 1);
        }
    });
}

QImage Bar(const QColor& c) {
    return Glyph(16, 16, c, [](QPainter& p) { p.drawRect(3, 10, 10, 3); });
}

QImage Triangle(const QColor& c) {
    return Glyph(33, 24, c, [](QPainter& p) {
        const QPoint tri[] = {{12, 5}, {12, 18}, {23, 11}};
        p.drawPolygon(tri, 3);
    });
}

QImage Square(const QColor& c) {
    return Glyph(34, 24, c, [](QPainter& p) { p.drawRect(12, 6, 11, 11); });
}

QImage Bars(const QColor& c) {
    return Glyph(33, 24, c, [](QPainter& p) {
        p.drawRect(11, 6, 4, 12);
        p.drawRect(18, 6, 4, 12);
    });
}

QImage Folder(bool dark) {
    const QColor body = dark ? QColor(120, 90, 20) : QColor(236, 186, 60);
    const QColor tab = dark ? QColor(90, 66, 10) : QColor(206, 150, 40);
    return Glyph(33, 24, body, [&](QPainter& p) {
        p.setBrush(tab);
        p.drawRect(8, 5, 8, 3);
        p.setBrush(body);
        p.drawRect(8, 8, 18, 11);
        p.setBrush(dark ? QColor(60, 44, 6) : QColor(180, 130, 30));
        p.drawRect(8, 18, 18, 1);
    });
}

QImage Mp3Text(const QColor& c) {
    return Glyph(33, 24, c, [&](QPainter& p) {
        QFont f("DejaVu Sans");
        f.setBold(true);
        f.setPixelSize(11);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(c);
        p.drawText(QRect(0, 0, 34, 23), Qt::AlignCenter, "mp3");
    });
}

QImage ProgramIcon() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 48, 90), 1.5));
    p.setBrush(QColor(90, 110, 190));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF tri[] = {{11, 8}, {11, 24}, {24, 16}};
    p.drawPolygon(tri, 3);
    return img;
}

}  // namespace

void PlayerSkin::PaintAll(SkinImages& skin) {
    skin.Add(IDI_PROGRAM, ProgramIcon());
    skin.Add(IDB_SKIN, Background());
    skin.Add(IDB_CLOSE, Cross(kInk));
    skin.Add(IDB_CLOSE_HOT, Cross(kBlue));
    skin.Add(IDB_MINIMISE, Bar(kInk));
    skin.Add(IDB_MINIMISE_HOT, Bar(kBlue));
    skin.Add(IDB_PLAY, Triangle(kInk));
    skin.Add(IDB_PLAY_HOT, Triangle(kBlue));
    skin.Add(IDB_STOP, Square(kInk));
    skin.Add(IDB_STOP_HOT, Square(kBlue));
    skin.Add(IDB_PAUSE, Bars(kInk));
    skin.Add(IDB_PAUSE_HOT, Bars(kBlue));
    skin.Add(IDB_OPEN_HOT, Folder(false));
    skin.Add(IDB_OPEN, Folder(true));
    skin.Add(IDB_MP3, Mp3Text(kInk));
    skin.Add(IDB_MP3_HOT, Mp3Text(kRed));
}

QRect PlayerSkin::ControlRect(int id) {
    for (const Place& p : kLayout)
        if (p.id == id)
            return QRect(p.x * 2, p.y * 2, p.w * 2, p.h * 2);
    return {};
}

}  // namespace vanplay
