#pragma once
// The small flight of a title bar between the window and the tray corner
// when the window hides to or comes back from the tray: a frameless bar
// that moves and resizes from one rectangle to the other, then goes.
// A pause (50 ms) may come before or after the flight.

#include <QRect>
#include <QWidget>

namespace vantelo::pages {

class CaptionAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFlightMs = 200;
    static constexpr int kPauseMs = 50;

    // Starts at once; the widget deletes itself when done, after `Finished`.
    static CaptionAnimation* Start(const QRect& from, const QRect& to, bool pauseFirst);

signals:
    void Finished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CaptionAnimation();
};

}  // namespace vantelo::pages
