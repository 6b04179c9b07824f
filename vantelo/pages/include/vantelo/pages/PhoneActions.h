#pragma once
// What the phone window and its pages ask of the phone behind them: every
// button press, typed key and posted message goes there, and the contact
// pages dial through it. The window itself keeps no phone state; the phone
// controller's adapter implements this.

#include <QString>
#include <Qt>
#include <string>

#include "platform/MessageWindow.h"
#include "vantelo/core/PhoneSettings.h"

namespace vantelo::pages {

class PhoneActions {
public:
    virtual ~PhoneActions() = default;

    // A skinned phone button (hook, keys, redial, flash, play, record,
    // pick-up, save memo, mute, absence) was pressed.
    virtual void OnButton(int controlId) = 0;
    // A key typed on the window or handed on by a page (the key filter).
    virtual void OnKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) = 0;
    // A message posted to the window (line events, the ring pop-up's click).
    virtual void OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) = 0;
    // The tray menu's "Close" (the exit sequence).
    virtual void OnExitCommand() = 0;

    // For the contact pages.
    virtual bool IsLineBusy() = 0;
    virtual void SetDialNumber(const std::string& number) = 0;
    virtual void HookButton() = 0;
    virtual void DialInner() = 0;
    virtual void SetCallName(const std::string& name) = 0;
    virtual bool IsRinging() const = 0;

    // For the settings page: the settings in use, and writing them to the
    // settings file (false when they could not be written).
    virtual PhoneSettings& Settings() = 0;
    virtual bool SaveSettings() = 0;
};

}  // namespace vantelo::pages
