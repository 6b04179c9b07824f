#include "PhoneSkin.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "CallListPage.h"
#include "PhoneLayout.h"
#include "platform/TranslateNoop.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages {

using vt::widgets::SkinImages;

namespace {

enum class Press { Normal, Pressed, Hover };

const QColor kKey = QColor::fromRgb(SkinImages::kColourKey);
const QColor kBodyTop(58, 64, 78);
const QColor kBodyBottom(34, 38, 48);
const QColor kPanel(242, 244, 248);
const QColor kInk(34, 40, 52);
const QColor kAccent(0, 150, 170);

// What a button stands for; it decides its colours.
enum class Kind { Tab, Window, Action, Key, Hook, Primary };

Kind KindOf(int id) {
    switch (id) {
        case IDC_PAGE_ADDRESSBOOK:
        case IDC_PAGE_INNERLINE:
        case IDC_PAGE_CALLLOG:
        case IDC_PAGE_SETTINGS:
            return Kind::Tab;
        case IDC_MINIMISE:
        case IDC_HIDE:
            return Kind::Window;
        case IDC_HOOK:
            return Kind::Hook;
        case IDC_SAVE_MEMO:
            return Kind::Primary;
        default:
            return id >= IDC_KEY_1 && id <= IDC_KEY_HASH ? Kind::Key : Kind::Action;
    }
}

bool IsTwoLook(int id) {
    return id == IDC_HOOK || id == IDC_PLAY || id == IDC_RECORD || id == IDC_MUTE || id == IDC_ARS;
}

// The bold label font at `pixels`, or smaller until `text` fits `width` (a
// translation may be longer than the Korean the skin was laid out for).
QFont FittingFont(const QString& text, int pixels, qreal width) {
    QFont font = PhoneSkin::LabelFont(pixels, true);
    while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font = PhoneSkin::LabelFont(--pixels, true);
    return font;
}

// A text painted on the skin, in the user's language.
QString Text(const char* text) {
    return QCoreApplication::translate("PhoneSkin", text);
}

// The label a two-look button shows in its lit look; none for the others.
const char* LitSource(int id) {
    switch (id) {
        case IDC_HOOK:
            return QT_TRANSLATE_NOOP("PhoneSkin", "끊기");
        case IDC_PLAY:
            return QT_TRANSLATE_NOOP("PhoneSkin", "정지");
        case IDC_RECORD:
            return QT_TRANSLATE_NOOP("PhoneSkin", "녹취 중지");
        case IDC_ARS:
            return QT_TRANSLATE_NOOP("PhoneSkin", "부재 해제");
        default:
            return nullptr;
    }
}

QString LitLabel(const Place& b) {
    const char* lit = LitSource(b.id);
    return lit ? Text(lit) : b.Label();
}

// The pixel size of a main button's label, by what the button is.
int TextPixels(const Place& b) {
    switch (KindOf(b.id)) {
        case Kind::Tab:
            return 13;
        case Kind::Key:
        case Kind::Hook:
            return 14;
        case Kind::Primary:
            return 12;
        default:
            return b.w < 40 ? 11 : 12;
    }
}

QColor LitColour(int id) {
    switch (id) {
        case IDC_HOOK:
        case IDC_RECORD:
            return QColor(214, 58, 52);
        case IDC_PLAY:
            return QColor(46, 160, 90);
        default:
            return QColor(232, 150, 30);
    }
}

QColor Shade(const QColor& c, Press press, bool top) {
    QColor out = top ? c.lighter(118) : c.darker(112);
    if (press == Press::Hover)
        out = out.lighter(112);
    if (press == Press::Pressed)
        out = out.darker(125);
    return out;
}

// One rounded button face with its label, the label one pixel lower when pressed.
void DrawFace(QPainter& p, const QRectF& r, const QColor& base, const QColor& ink,
              const QString& label, int textPx, Press press, qreal radius) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, Shade(base, press, true));
    g.setColorAt(1.0, Shade(base, press, false));
    p.setPen(QPen(base.darker(170), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (press != Press::Pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 70), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
                   QPointF(r.right() - radius, r.top() + 1.5));
    }
    if (press == Press::Hover) {
        p.setPen(QPen(kAccent.lighter(140), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius, radius);
    }
    p.setFont(PhoneSkin::LabelFont(textPx, true));
    p.setPen(ink);
    const QRectF text = press == Press::Pressed ? r.translated(0, 1) : r;
    p.drawText(text, Qt::AlignCenter, label);
    p.restore();
}

void DrawButton(QPainter& p, const Place& b, Press press, bool lit, bool selected) {
    const QRectF r = b.Rect();
    QString label = b.Label();
    switch (KindOf(b.id)) {
        case Kind::Tab: {
            const QColor base = selected ? kAccent : QColor(92, 100, 118);
            DrawFace(p, r, base, selected ? Qt::white : QColor(222, 228, 236), label, TextPixels(b),
                     press, 7);
            break;
        }
        case Kind::Window: {
            p.save();
            const QColor base = b.id == IDC_HIDE ? QColor(200, 70, 64) : QColor(110, 118, 136);
            p.setPen(QPen(base.darker(160), 1));
            p.setBrush(Shade(base, press, press != Press::Pressed));
            p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
            const QPointF c = r.center();
            if (b.id == IDC_HIDE) {
                p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
                p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
            } else {
                p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
            }
            p.restore();
            break;
        }
        case Kind::Key: {
            static const char* letters[] = {"",    "ABC", "DEF", "GHI", "JKL",
                                            "MNO", "PRS", "TUV", "WXY"};
            DrawFace(p, r, QColor(70, 76, 90), Qt::white, label, TextPixels(b), press, 5);
            const int digit = b.id - IDC_KEY_1;
            if (digit >= 1 && digit <= 8) {
                p.save();
                p.setFont(PhoneSkin::LabelFont(7));
                p.setPen(QColor(170, 180, 196));
                p.drawText(r.adjusted(0, 0, -3, press == Press::Pressed ? 0 : -1),
                           Qt::AlignRight | Qt::AlignBottom, letters[digit]);
                p.restore();
            }
            break;
        }
        case Kind::Hook: {
            const QColor base = lit ? LitColour(b.id) : QColor(46, 160, 90);
            DrawFace(p, r, base, Qt::white, lit ? LitLabel(b) : label, TextPixels(b), press, 14);
            break;
        }
        case Kind::Primary:
            DrawFace(p, r, kAccent, Qt::white, label, TextPixels(b), press, 6);
            break;
        case Kind::Action: {
            const bool on = lit && IsTwoLook(b.id);
            const QColor base = on ? LitColour(b.id) : QColor(196, 204, 216);
            DrawFace(p, r, base, on ? Qt::white : kInk, on ? LitLabel(b) : label, TextPixels(b),
                     press, 6);
            break;
        }
    }
}

// A recessed well, as for displays and the page area.
void DrawWell(QPainter& p, const QRectF& r, const QColor& fill, qreal radius) {
    p.save();
    p.setPen(QPen(QColor(20, 22, 28), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), radius, radius);
    p.restore();
}

QPainterPath Outline() {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight), 22,
                        22);
    return path;
}

QImage Shape() {
    QImage img(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight, QImage::Format_RGB32);
    img.fill(kKey);
    QPainter p(&img);
    // No smoothing: a blended edge would be near-magenta, not the key.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(Outline(), Qt::black);
    return img;
}

// The face without buttons: body, logo, display wells and captions.
void DrawBody(QPainter& p) {
    const QRectF all(0, 0, PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight);
    p.fillRect(all, kBodyBottom);
    QLinearGradient body(0, 0, 0, all.height());
    body.setColorAt(0.0, kBodyTop);
    body.setColorAt(1.0, kBodyBottom);
    p.setPen(QPen(QColor(16, 18, 24), 2));
    p.setBrush(body);
    p.drawPath(Outline());

    // Right-hand console of the handset controls.
    QLinearGradient console(0, 40, 0, 566);
    console.setColorAt(0.0, QColor(72, 80, 96));
    console.setColorAt(1.0, QColor(48, 54, 66));
    p.setPen(QPen(QColor(24, 26, 34), 1));
    p.setBrush(console);
    p.drawRoundedRect(QRectF(644.5, 40.5, 176, 526), 12, 12);

    // Logo.
    p.setPen(Qt::white);
    p.setFont(PhoneSkin::LabelFont(28, true));
    p.drawText(QRect(28, 10, 180, 38), Qt::AlignLeft | Qt::AlignVCenter, "Vantelo");
    p.setPen(QColor(150, 200, 210));
    p.setFont(PhoneSkin::LabelFont(12));
    p.drawText(QRect(30, 46, 176, 22), Qt::AlignLeft | Qt::AlignVCenter,
               Text(QT_TRANSLATE_NOOP("PhoneSkin", "데스크 전화 관리자")));

    // Page area, status line and the console's display wells.
    DrawWell(p, QRectF(PhoneLayout::kPageArea), kPanel, 4);
    for (const Place& a : PhoneLayout::MainAreas()) {
        const QRectF r = a.Rect();
        switch (a.id) {
            case IDC_NUMBER: {
                QLinearGradient lcd(r.topLeft(), r.bottomLeft());
                lcd.setColorAt(0.0, QColor(196, 232, 226));
                lcd.setColorAt(1.0, QColor(150, 204, 196));
                p.save();
                p.setPen(QPen(QColor(20, 22, 28), 1));
                p.setBrush(lcd);
                p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), 6, 6);
                p.restore();
                break;
            }
            case IDC_STATUS:
                DrawWell(p, r.adjusted(-6, 0, 6, 0), QColor(28, 32, 40), 4);
                break;
            case IDC_MEMO:
                DrawWell(p, r, Qt::white, 3);
                break;
            case IDC_PAGE_AREA:
                break;
            default: {  // indicators: a socket and a caption under it
                DrawWell(p, r, QColor(30, 34, 42), 5);
                p.setFont(PhoneSkin::LabelFont(10));
                p.setPen(QColor(190, 198, 210));
                p.drawText(QRectF(r.left() - 4, r.bottom() + 3, r.width() + 8, 14), Qt::AlignCenter,
                           a.Label());
                break;
            }
        }
    }
    p.setFont(PhoneSkin::LabelFont(11, true));
    p.setPen(QColor(190, 198, 210));
    p.drawText(QRect(653, 190, 150, 16), Qt::AlignLeft | Qt::AlignVCenter,
               Text(QT_TRANSLATE_NOOP("PhoneSkin", "메모")));
    // The keypad's plate.
    p.setPen(QPen(QColor(28, 30, 38), 1));
    p.setBrush(QColor(40, 45, 56));
    p.drawRoundedRect(QRectF(652.5, 374.5, 155, 118), 8, 8);
}

QImage Face(Press press, bool lit, bool selected) {
    QImage img(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawBody(p);
    for (const Place& b : PhoneLayout::MainButtons()) DrawButton(p, b, press, lit, selected);
    return img;
}

// Indicator pictures: a lamp with a symbol, bright when on.
QImage Indicator(int symbol, bool on) {
    QImage img(36, 28, QImage::Format_RGB32);
    img.fill(QColor(30, 34, 42));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lamp = !on           ? QColor(84, 92, 108)
                        : symbol == 0 ? QColor(70, 210, 120)
                        : symbol == 2 ? QColor(240, 70, 60)
                        : symbol == 1 ? QColor(250, 176, 40)
                                      : QColor(80, 200, 230);
    if (on) {
        QRadialGradient glow(QPointF(18, 14), 16);
        glow.setColorAt(0.0, QColor(lamp.red(), lamp.green(), lamp.blue(), 110));
        glow.setColorAt(1.0, QColor(lamp.red(), lamp.green(), lamp.blue(), 0));
        p.fillRect(img.rect(), glow);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    switch (symbol) {
        case 0: {  // handset, lifted when off hook
            p.save();
            p.translate(18, on ? 12 : 15);
            p.rotate(on ? -18 : 0);
            QPainterPath h;
            h.addRoundedRect(QRectF(-11, -3, 22, 6), 3, 3);
            h.addRoundedRect(QRectF(-13, -2, 7, 9), 3, 3);
            h.addRoundedRect(QRectF(6, -2, 7, 9), 3, 3);
            p.drawPath(h.simplified());
            p.restore();
            break;
        }
        case 1: {  // answering machine: a cassette
            p.drawRoundedRect(QRectF(7, 7, 22, 14), 3, 3);
            p.setBrush(QColor(30, 34, 42));
            p.drawEllipse(QPointF(13, 14), 3, 3);
            p.drawEllipse(QPointF(23, 14), 3, 3);
            break;
        }
        case 2:  // recording: a dot
            p.drawEllipse(QPointF(18, 14), 7, 7);
            break;
        default: {  // playback: a triangle
            const QPointF tri[] = {{13, 6}, {13, 22}, {26, 14}};
            p.drawPolygon(tri, 3);
            break;
        }
    }
    return img;
}

QImage ProgramIcon() {
    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0.0, kAccent.lighter(130));
    g.setColorAt(1.0, kAccent.darker(140));
    p.setPen(QPen(QColor(10, 60, 70), 2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.translate(32, 34);
    p.rotate(-30);
    QPainterPath h;
    h.addRoundedRect(QRectF(-18, -5, 36, 10), 5, 5);
    h.addRoundedRect(QRectF(-22, -3, 12, 15), 5, 5);
    h.addRoundedRect(QRectF(10, -3, 12, 15), 5, 5);
    p.drawPath(h.simplified());
    return img;
}

// A page's image: the panel, captions of the fields and the page's buttons.
QImage Page(const char* title, std::span<const Place> controls, std::span<const FieldPlace> fields,
            Press press, bool buttons = true) {
    const QRect area = PhoneLayout::kPageArea;
    QImage img(area.size(), QImage::Format_RGB32);
    img.fill(kPanel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (title && *title) {
        p.setFont(PhoneSkin::LabelFont(15, true));
        p.setPen(kInk);
        p.drawText(QRect(12, 6, 300, 28), Qt::AlignLeft | Qt::AlignVCenter, Text(title));
        p.setPen(QPen(kAccent, 2));
        p.drawLine(12, 35, area.width() - 12, 35);
    }
    p.setFont(PhoneSkin::LabelFont(12));
    for (const FieldPlace& f : fields) {
        p.setPen(QColor(80, 88, 104));
        p.drawText(QRect(f.x - 72, f.y, 66, f.h), Qt::AlignRight | Qt::AlignVCenter, f.Label());
    }
    for (const Place& c : controls) {
        const QRectF r = c.Rect();
        const QString label = c.Label();
        if (c.tip && *c.tip) {  // a button
            if (!buttons)
                continue;
            const bool main = c.id == IDC_CE_SAVE || c.id == IDC_CP_ADD;
            DrawFace(p, r, main ? kAccent : QColor(196, 204, 216), main ? Qt::white : kInk, label,
                     13, press, 6);
        } else if (!label.isEmpty()) {  // a caption left of its control
            p.setPen(QColor(80, 88, 104));
            p.drawText(QRectF(r.left() - 72, r.top(), 66, r.height()),
                       Qt::AlignRight | (c.h > 30 ? Qt::AlignTop : Qt::AlignVCenter), label);
        }
    }
    return img;
}

void AddPage(SkinImages& skin, int normal, int pressed, int hover, int back, const char* title,
             std::span<const Place> controls, std::span<const FieldPlace> fields) {
    skin.Add(back, Page(title, controls, fields, Press::Normal, false));
    skin.Add(normal, Page(title, controls, fields, Press::Normal));
    skin.Add(pressed, Page(title, controls, fields, Press::Pressed));
    skin.Add(hover, Page(title, controls, fields, Press::Hover));
}

// The settings page: white cards behind the dialling, recording, answering,
// message length and timing groups, and its buttons.
QImage SettingsFace(Press press) {
    const QRect area = PhoneLayout::kPageArea;
    QImage img(area.size(), QImage::Format_RGB32);
    img.fill(kPanel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The message length card stops short of the Default Load button.
    const QRectF cards[] = {{4, 6, 298, 94},
                            {4, 104, 298, 104},
                            {4, 212, 298, 160},
                            {4, 376, 288, 74},
                            {306, 2, 310, 380}};
    for (const QRectF& c : cards) {
        p.setPen(QPen(QColor(210, 216, 226), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(c.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
    p.setPen(QPen(kAccent, 2));
    for (const QRectF& c : cards)
        p.drawLine(c.topLeft() + QPointF(8, 1), c.topRight() + QPointF(-8, 1));
    for (const Place& b : PhoneLayout::SettingsPageButtons()) {
        const bool main = b.id == IDC_SP_OK;
        DrawFace(p, b.Rect(), main ? kAccent : QColor(196, 204, 216), main ? Qt::white : kInk,
                 b.Label(), b.h < 24 ? 11 : 13, press, 6);
    }
    return img;
}

// The call log page's two-look buttons, drawn one way per image triple:
// plain (play, speaker output), lit (pause, headset output), decoding.
enum class PlayerLook { Plain, Lit, Decoding };

// The symbol on a player key, centred in `r`.
void DrawPlayerGlyph(QPainter& p, const QRectF& r, int id, PlayerLook look, const QColor& ink) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const QPointF c = r.center();
    if (id == IDC_CL_PLAY && look == PlayerLook::Lit) {  // pause: two bars
        p.drawRoundedRect(QRectF(c.x() - 6, c.y() - 7, 4.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(c.x() + 1.5, c.y() - 7, 4.5, 14), 1, 1);
    } else if (id == IDC_CL_PLAY && look == PlayerLook::Decoding) {  // busy: three dots
        for (int i = -1; i <= 1; ++i) p.drawEllipse(QPointF(c.x() + i * 7, c.y()), 2.4, 2.4);
    } else if (id == IDC_CL_PLAY) {  // play: a triangle
        const QPointF tri[] = {c + QPointF(-5, -8), c + QPointF(-5, 8), c + QPointF(8, 0)};
        p.drawPolygon(tri, 3);
    } else if (id == IDC_CL_STOP) {
        p.drawRoundedRect(QRectF(c.x() - 6, c.y() - 6, 12, 12), 1.5, 1.5);
    }
    p.restore();
}

// The output switch: the output in use as a symbol and a word.
void DrawOutputGlyph(QPainter& p, const QRectF& r, bool headset, const QColor& ink) {
    p.save();
    const QPointF c(r.left() + 15, r.center().y());
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (headset) {
        p.drawArc(QRectF(c.x() - 8, c.y() - 9, 16, 16), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - 10, c.y() - 1, 5, 8), 2, 2);
        p.drawRoundedRect(QRectF(c.x() + 5, c.y() - 1, 5, 8), 2, 2);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const QPointF cone[] = {c + QPointF(-9, -3), c + QPointF(-5, -3), c + QPointF(0, -8),
                                c + QPointF(0, 8),   c + QPointF(-5, 3),  c + QPointF(-9, 3)};
        p.drawPolygon(cone, 6);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - 3, c.y() - 4, 8, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(c.x() - 5, c.y() - 8, 16, 16), -50 * 16, 100 * 16);
    }
    const QString word = headset ? Text(QT_TRANSLATE_NOOP("PhoneSkin", "헤드셋"))
                                 : Text(QT_TRANSLATE_NOOP("PhoneSkin", "스피커"));
    const QRectF room = r.adjusted(31, 0, -3, 0);
    p.setFont(FittingFont(word, 11, room.width()));
    p.setPen(ink);
    p.drawText(room, Qt::AlignLeft | Qt::AlignVCenter, word);
    p.restore();
}

QImage CallLogFace(Press press, PlayerLook look, bool buttons) {
    const QRect area = PhoneLayout::kPageArea;
    QImage img(area.size(), QImage::Format_RGB32);
    img.fill(kPanel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The player and log strip: a dark plate like the keypad's, split in two.
    const QRectF strip(PhoneLayout::kCallLogStrip);
    QLinearGradient plate(strip.topLeft(), strip.bottomLeft());
    plate.setColorAt(0.0, QColor(62, 69, 84));
    plate.setColorAt(1.0, QColor(40, 45, 56));
    p.setPen(QPen(QColor(24, 26, 34), 1));
    p.setBrush(plate);
    p.drawRoundedRect(strip.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setPen(QPen(QColor(24, 26, 34), 1));
    p.drawLine(QPointF(293.5, strip.top() + 8), QPointF(293.5, strip.bottom() - 8));
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.drawLine(QPointF(294.5, strip.top() + 8), QPointF(294.5, strip.bottom() - 8));

    for (const Place& c : PhoneLayout::CallLogPageControls()) {
        const QRectF r = c.Rect();
        const QString label = c.Label();
        if (c.id == IDC_CL_SLIDER) {  // the slider's track well
            DrawWell(p, r.adjusted(-6, 6, 6, -6), QColor(28, 32, 40), 5);
        } else if (!(c.tip && *c.tip)) {
            if (!label.isEmpty()) {  // a caption of the search row
                p.setFont(PhoneSkin::LabelFont(12));
                p.setPen(QColor(80, 88, 104));
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, label);
            }
        } else if (!buttons) {
            continue;
        } else if (c.id == IDC_CL_PLAY || c.id == IDC_CL_STOP) {
            QColor base(78, 86, 102);
            if (c.id == IDC_CL_PLAY && look == PlayerLook::Lit)
                base = QColor(46, 160, 90);  // playing
            else if (c.id == IDC_CL_PLAY && look == PlayerLook::Decoding)
                base = kAccent;  // busy preparing the recording
            DrawFace(p, r, base, Qt::white, {}, 12, press, 6);
            DrawPlayerGlyph(p, press == Press::Pressed ? r.translated(0, 1) : r, c.id, look,
                            Qt::white);
        } else if (c.id == IDC_CL_HEADSET) {
            const bool headset = look == PlayerLook::Lit;
            DrawFace(p, r, headset ? QColor(232, 150, 30) : QColor(78, 86, 102), Qt::white, {}, 12,
                     press, 6);
            DrawOutputGlyph(p, press == Press::Pressed ? r.translated(0, 1) : r, headset,
                            Qt::white);
        } else {
            const bool deletes = c.id == IDC_CL_DELETE || c.id == IDC_CL_DELETE_ALL;
            DrawFace(p, r, QColor(196, 204, 216), deletes ? QColor(170, 40, 36) : kInk, label, 12,
                     press, 6);
        }
    }
    return img;
}

void AddCallLogPage(SkinImages& skin) {
    skin.Add(IDB_CALLLOG_BACK, CallLogFace(Press::Normal, PlayerLook::Plain, false));
    const struct {
        PlayerLook look;
        int normal, pressed, hover;
    } triples[] = {
        {PlayerLook::Plain, IDB_CALLLOG_NORMAL, IDB_CALLLOG_PRESSED, IDB_CALLLOG_HOVER},
        {PlayerLook::Lit, IDB_CALLLOG_LIT_NORMAL, IDB_CALLLOG_LIT_PRESSED, IDB_CALLLOG_LIT_HOVER},
        {PlayerLook::Decoding, IDB_CALLLOG_DECODING_NORMAL, IDB_CALLLOG_DECODING_PRESSED,
         IDB_CALLLOG_DECODING_HOVER},
    };
    for (const auto& t : triples) {
        skin.Add(t.normal, CallLogFace(Press::Normal, t.look, true));
        skin.Add(t.pressed, CallLogFace(Press::Pressed, t.look, true));
        skin.Add(t.hover, CallLogFace(Press::Hover, t.look, true));
    }
}

}  // namespace

QFont PhoneSkin::LabelFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("NanumBarunGothic"));
    font.setFamilies({QStringLiteral("NanumBarunGothic"), QStringLiteral("NanumGothic"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont PhoneSkin::ButtonFont(const Place& button) {
    return LabelFont(TextPixels(button), true);
}

vt::widgets::SkinTriple PhoneSkin::Triple(const SkinImages& skin, int normal, int pressed,
                                          int hover) {
    return {skin.Image(normal), skin.Image(pressed), skin.Image(hover)};
}

vt::widgets::SkinButton* PhoneSkin::Button(QWidget* parent, const Place& place,
                                           const vt::widgets::SkinTriple& images) {
    auto* button = new vt::widgets::SkinButton(parent);
    button->Place(place.Rect());
    button->SetImages(images);
    if (place.tip && *place.tip)
        button->setToolTip(place.Tip());
    return button;
}

QColor PhoneSkin::PanelColour() {
    return kPanel;
}

void PhoneSkin::PaintAll(SkinImages& skin) {
    skin.Add(IDI_PROGRAM, ProgramIcon());
    skin.Add(IDB_SHAPE, Shape());
    skin.Add(IDB_MAIN_NORMAL, Face(Press::Normal, false, false));
    skin.Add(IDB_MAIN_PRESSED, Face(Press::Pressed, false, false));
    skin.Add(IDB_MAIN_HOVER, Face(Press::Hover, false, false));
    // A button is first lit in a call, well after the window's first paint.
    skin.AddPainter(IDB_MAIN_LIT_NORMAL, [] { return Face(Press::Normal, true, false); });
    skin.AddPainter(IDB_MAIN_LIT_PRESSED, [] { return Face(Press::Pressed, true, false); });
    skin.AddPainter(IDB_MAIN_LIT_HOVER, [] { return Face(Press::Hover, true, false); });
    skin.Add(IDB_PAGE_SELECTED_NORMAL, Face(Press::Normal, false, true));
    skin.Add(IDB_PAGE_SELECTED_PRESSED, Face(Press::Pressed, false, true));
    skin.Add(IDB_PAGE_SELECTED_HOVER, Face(Press::Hover, false, true));

    skin.Add(IDB_HOOK_OFF, Indicator(0, true));
    skin.Add(IDB_HOOK_ON, Indicator(0, false));
    skin.Add(IDB_ANSWERING_ON, Indicator(1, true));
    skin.Add(IDB_ANSWERING_OFF, Indicator(1, false));
    skin.Add(IDB_RECORDING_ON, Indicator(2, true));
    skin.Add(IDB_RECORDING_OFF, Indicator(2, false));
    skin.Add(IDB_PLAYBACK_ON, Indicator(3, true));
    skin.Add(IDB_PLAYBACK_OFF, Indicator(3, false));

    const auto controls = PhoneLayout::ContactPageControls();
    const auto details = PhoneLayout::ContactPageDetails();
    AddPage(skin, IDB_ADDRESSBOOK_NORMAL, IDB_ADDRESSBOOK_PRESSED, IDB_ADDRESSBOOK_HOVER,
            IDB_ADDRESSBOOK_BACK, "", controls, details);
    AddPage(skin, IDB_INNERLINE_NORMAL, IDB_INNERLINE_PRESSED, IDB_INNERLINE_HOVER,
            IDB_INNERLINE_BACK, "", controls, details);
    AddPage(skin, IDB_CONTACTEDIT_NORMAL, IDB_CONTACTEDIT_PRESSED, IDB_CONTACTEDIT_HOVER,
            IDB_CONTACTEDIT_BACK, QT_TRANSLATE_NOOP("PhoneSkin", "연락처 편집"),
            PhoneLayout::EditPageControls(), PhoneLayout::EditPageFields());
    skin.Add(IDB_SETTINGS_NORMAL, SettingsFace(Press::Normal));
    skin.Add(IDB_SETTINGS_PRESSED, SettingsFace(Press::Pressed));
    skin.Add(IDB_SETTINGS_HOVER, SettingsFace(Press::Hover));
    AddCallLogPage(skin);
}

}  // namespace vantelo::pages
