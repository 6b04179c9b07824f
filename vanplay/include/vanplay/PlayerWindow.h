#pragma once
// The player's skinned window: the 476 x 150 skin, seven picture buttons,
// the position and volume sliders and the time and status labels, wired to
// PlayerController. It also is the controller's view and message window.

#include <QWidget>
#include <map>
#include <memory>

#include "vanplay/PlayerController.h"
#include "vanplay/PlayerView.h"
#include "widgets/QtMessageWindow.h"
#include "widgets/SkinImages.h"

namespace vt::widgets {
class QtTimerHost;
}

namespace vanplay {

class PlayerWindow : public QWidget, public PlayerView {
    Q_OBJECT
public:
    // `timers` (not owned) replaces the window's own Qt timers, for tests.
    explicit PlayerWindow(vt::TimerHost* timers = nullptr, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Creates the graph and opens `file` when given (the command line's).
    void Start(const std::string& file);

    PlayerController& Controller() { return *controller_; }
    QWidget* Control(int id) const;
    const vt::widgets::SkinImages& Skin() const { return skin_; }
    vt::MessageWindow& MessageWindow() { return messages_; }

    // The open-file dialog's filters, first one selected.
    static QStringList OpenFilters();

    // PlayerView
    void ShowControl(int id, bool shown) override;
    bool ControlShown(int id) const override;
    void EnableControl(int id, bool enabled) override;
    bool ControlEnabled(int id) const override;
    void SetSliderRange(int id, int minimum, int maximum) override;
    void SetSliderPosition(int id, int position) override;
    int SliderPosition(int id) const override;
    void SetLabelText(int id, const std::string& text) override;
    std::string LabelText(int id) const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void OpenWithDialog();

    vt::widgets::SkinImages skin_;
    vt::widgets::QtMessageWindow messages_;
    vt::widgets::QtTimerHost* ownTimers_ = nullptr;
    std::unique_ptr<PlayerController> controller_;
    std::map<int, QWidget*> controls_;
};

}  // namespace vanplay
