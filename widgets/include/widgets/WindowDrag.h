#pragma once
// Moves a frameless window by its background, as a caption would: a left
// press on the window itself (not taken by one of its controls) where the
// window allows it, then every move while the button is held.

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

namespace vt::widgets {

class WindowDrag : public QObject {
    Q_OBJECT
public:
    // Watches `window`'s own mouse events. `grabs` tells whether a press at
    // a point (window coordinates) starts a drag; anywhere when empty.
    explicit WindowDrag(QWidget& window, std::function<bool(const QPoint&)> grabs = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::function<bool(const QPoint&)> grabs_;
    bool dragging_ = false;
    QPoint offset_;  // of the press from the window's frame corner
};

}  // namespace vt::widgets
