#pragma once
// A slider that paints only its groove line and handle, so the skin under
// it shows through. Scrolled reports what the user does with it (never
// programmatic moves): each move, and `ended` when an action is over (the
// handle released, a click on the groove or a key step done).

#include <QColor>
#include <QSlider>

namespace vt::widgets {

class SkinSlider : public QSlider {
    Q_OBJECT
public:
    explicit SkinSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    void SetColours(const QColor& groove, const QColor& handle);
    // Where the handle is drawn (and grabbed), in widget coordinates.
    QRect HandleRect() const;

signals:
    void Scrolled(int position, bool ended);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor groove_{70, 70, 110};
    QColor handle_{64, 64, 196};
};

}  // namespace vt::widgets
