#pragma once
// A stand-in for the phone controller behind the window: it writes down
// every call the window and its pages make, one line each, and answers the
// pages' questions (line busy, ringing, outside-line code) as told.

#include <string>
#include <vector>

#include "vantelo/pages/PhoneActions.h"

namespace vantelo::pages::test {

class RecordingPhone : public PhoneActions {
public:
    void OnButton(int controlId) override;
    void OnKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) override;
    void OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) override;
    void OnExitCommand() override;
    bool IsLineBusy() override;
    void SetDialNumber(const std::string& number) override;
    void HookButton() override;
    void DialInner() override;
    void SetCallName(const std::string& name) override;
    bool IsRinging() const override { return ringing; }
    PhoneSettings& Settings() override { return settings; }
    // Writes to the settings file of the test's private folder.
    bool SaveSettings() override;

    // Calls in order, e.g. "button 1058", "key 5", "dial 0212345678", "hook".
    std::vector<std::string> calls;
    bool lineBusy = false;
    bool ringing = false;
    PhoneSettings settings;
    int saves = 0;
};

}  // namespace vantelo::pages::test
