#pragma once
// The small notice of an incoming call at the bottom-right of the screen:
// 150 x 100, 10 pixels left of the work area's right edge, resting on its
// bottom. It grows upwards in steps of 5 pixels every 20 ms and shrinks back
// down (pauses from 20 ms, one shorter each step) before it goes. The first
// left click on it posts kPopupClicked to the phone window.

#include <QString>
#include <QWidget>

#include "platform/MessageWindow.h"
#include "platform/TimerHost.h"

namespace vt::widgets {
class QtTimerHost;
}

namespace vantelo::pages {

class RingPopup : public QWidget, public vt::TimerSink {
    Q_OBJECT
public:
    static constexpr int kWidth = 150;
    static constexpr int kHeight = 100;
    static constexpr int kStep = 5;
    static constexpr int kGrowMs = 20;
    static constexpr int kTimerGrow = 1;
    static constexpr int kTimerShrink = 2;

    // `timers` (not owned) replaces the pop-up's own Qt timers, for tests.
    RingPopup(vt::MessageWindow* target, vt::TimerHost* timers = nullptr);
    ~RingPopup() override;

    // Where the grown pop-up stands in a work area.
    static QRect FullGeometry(const QRect& workArea);

    void Open(const QString& text);
    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    // Starts shrinking; Closed is emitted when it is gone.
    void Close();
    bool Closing() const { return closing_; }
    int CurrentHeight() const { return height_; }

    void OnTimer(int id) override;

signals:
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyHeight();

    vt::MessageWindow* target_;
    vt::TimerHost* timers_;
    vt::widgets::QtTimerHost* ownTimers_ = nullptr;
    QString text_;
    QRect full_;
    int height_ = 0;
    unsigned shrinkMs_ = kGrowMs;
    bool closing_ = false;
    bool clicked_ = false;
};

}  // namespace vantelo::pages
