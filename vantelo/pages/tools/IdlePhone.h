#pragma once
// The window with no phone behind it, for the screenshot tool and the
// benchmarks: presses go nowhere, the settings stay in memory.

#include <filesystem>
#include <string>

#include "IdleLine.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/pages/CallLogActions.h"
#include "vantelo/pages/PhoneActions.h"

namespace vantelo::pages {

class IdlePhone : public PhoneActions, public CallLogActions {
public:
    explicit IdlePhone(bool ringing = false, std::filesystem::path folder = {})
        : ringing_(ringing), folder_(std::move(folder)) {}

    void OnButton(int) override {}
    void OnKey(int, Qt::KeyboardModifiers, const QString&) override {}
    void OnMessage(vt::UINT, vt::WPARAM, vt::LPARAM) override {}
    void OnExitCommand() override {}
    bool IsLineBusy() override { return false; }
    void SetDialNumber(const std::string&) override {}
    void HookButton() override {}
    void DialInner() override {}
    void SetCallName(const std::string&) override {}
    bool IsRinging() const override { return ringing_; }
    std::string LookupName(const std::string&) override { return {}; }
    vantelo::PhoneSettings& Settings() override { return settings_; }
    bool SaveSettings() override { return true; }

    vantelo::PhoneLine& Line() override { return line_; }
    bool IsRecording() const override { return false; }
    bool IsPlaying() const override { return false; }
    bool IsAbsenceMode() const override { return false; }
    void SetPlaying(bool) override {}
    void ShowPlaying(bool) override {}
    void SetStatusText(const std::string&) override {}
    void WriteLog(const std::string&) override {}
    std::filesystem::path ApplicationFolder() const override { return folder_; }

private:
    IdleLine line_;
    bool ringing_;
    std::filesystem::path folder_;
    vantelo::PhoneSettings settings_;
};

}  // namespace vantelo::pages
