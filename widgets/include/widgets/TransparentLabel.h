#pragma once
// A one-line text drawn straight onto its parent's background (no fill), in
// a given font and colour. Assistive technology reads it as a label named by
// its text and hears of each change of the text.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace vt::widgets {

class TransparentLabel : public QWidget {
    Q_OBJECT
public:
    explicit TransparentLabel(QWidget* parent = nullptr);

    // Sets the text only when it differs from the one shown (no repaint
    // otherwise). Returns true when it changed.
    bool SetText(const QString& text);
    const QString& Text() const { return text_; }

    void SetTextColour(const QColor& colour);
    const QColor& TextColour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_{Qt::black};
};

// The bold fixed-pitch font of the number display and the player's labels,
// one that can show Hangul: NanumGothicCoding when installed, else the
// desktop's monospace font.
QFont FixedsysFont(int pointSize);

}  // namespace vt::widgets
