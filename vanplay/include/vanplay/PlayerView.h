#pragma once
// What the player's logic asks of its window: show, hide and enable
// controls by id, move sliders and set label texts. The window implements
// it with widgets; the logic never paints.

#include <string>

namespace vanplay {

class PlayerView {
public:
    virtual ~PlayerView() = default;

    virtual void ShowControl(int id, bool shown) = 0;
    virtual bool ControlShown(int id) const = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual bool ControlEnabled(int id) const = 0;

    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetSliderPosition(int id, int position) = 0;
    virtual int SliderPosition(int id) const = 0;

    // UTF-8 text; the label is changed only when the text differs.
    virtual void SetLabelText(int id, const std::string& text) = 0;
    virtual std::string LabelText(int id) const = 0;
};

}  // namespace vanplay
