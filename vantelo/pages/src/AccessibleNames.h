#pragma once
// What assistive technology calls the controls of the phone window, its
// pages and the ring pop-up: every name in one place. A table lists a
// window's or page's controls in their Tab order; each gets its name here,
// or the text of the caption beside it (a check box, a label), or keeps the
// text it shows (check boxes). The fields of the contact pages are named
// by the captions of their layout tables.

#include <QString>
#include <functional>
#include <span>

class QWidget;

namespace vantelo::pages {

struct FieldPlace;

struct ControlName {
    int id;
    const char* name;  // null: named by `caption`, or by its own text
    int caption = 0;   // the control whose text names this one
};

class AccessibleNames {
public:
    using Lookup = std::function<QWidget*(int id)>;

    static std::span<const ControlName> MainWindow();
    static std::span<const ControlName> ContactPage();
    static std::span<const ControlName> EditPage();
    static std::span<const ControlName> SettingsPage();
    static std::span<const ControlName> CallLogPage();

    // The meaning of an indicator picture by its bitmap ("녹음 중").
    static QString Indicator(int bitmapId);
    // What the number display and the status line are (their names are the
    // texts they show).
    static QString NumberDisplay();
    static QString StatusLine();
    // The ring pop-up, before it names the caller.
    static QString RingPopup();
    // The keys of the phone window, shown in tool tips.
    static QString HookKey();
    static QString PageKeys();

    // Names the controls of `names` that `control` finds and chains the
    // focusable ones in the table's order (a multi-line box passes Tab on).
    static void Apply(std::span<const ControlName> names, const Lookup& control);
    // Names each field by its caption.
    static void Apply(std::span<const FieldPlace> fields, const Lookup& control);
};

}  // namespace vantelo::pages
