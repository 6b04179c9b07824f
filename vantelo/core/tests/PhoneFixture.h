#pragma once
// A phone on a manual clock: the real controller, the real database in a
// private folder, a scriptable line that posts what the line library would
// post, and a view that keeps every change it was told.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PhoneController.h"

namespace vantelo::test {

// The line as the line library shows it: hook state, status bits and the
// messages its threads post, with every call kept as one text.
class ScriptLine : public PhoneLine {
public:
    struct Posted {
        vt::UINT message;
        vt::LPARAM lParam;
    };

    std::vector<std::string> calls;
    std::deque<Posted> posted;
    unsigned status = 0;
    bool plugged = true;
    int autoDialResult = 1;
    int headsetLoc = 1;
    std::string cid;
    std::string playingPath;
    std::string recordingPath;
    unsigned pausedMs = 0;
    // What the line library tells of the recording's audio (nothing when unset).
    std::optional<RecordedAudio> heard;
    std::string adapterProblem;  // while unplugged: an adapter present but not openable

    void Post(vt::UINT message, vt::LPARAM lParam) { posted.push_back({message, lParam}); }
    bool OffHook() const { return status & 0x10; }
    // A playback ran to its end.
    void FinishPlayback();
    // How many calls start with `prefix`.
    int Count(const std::string& prefix) const;
    bool Called(const std::string& prefix) const { return Count(prefix) > 0; }
    std::string Last(const std::string& prefix) const;

    int InitializeAllDevice() override;
    std::string AdapterProblem() override { return plugged ? std::string() : adapterProblem; }
    int OpenDeviceByIndex(int logFlag) override;
    int StartService(vt::HWND window) override;
    int StopService() override;
    int CloseDeviceByIndex() override;
    unsigned GetTYplusState() override { return plugged ? status : 0xFFFFFFFFu; }
    int IsLineBusy() override { return plugged && OffHook() ? 1 : 0; }
    int HookOff() override;
    int HookOn() override;
    int SendNumber(char digit, int toneTime, int toneLevel) override;
    int SendFlash(int flashTime) override;
    int AutoDialThread(const char* number, int useExtension, const char* extension, int delay,
                       int onTime, int offTime, int level) override;
    int VolumeControl(int up) override;
    int ToggleMute() override;
    int SetHeadSet(int mode) override;
    int GetHeadsetLoc() override { return headsetLoc; }
    int SetARSComm(int ledOn) override;
    std::string GetCIDData() override { return cid; }
    int StartRecord(const std::string& path, int recordFlag, int recordType) override;
    int StopRecord() override;
    int WatchRecord(int silenceMs) override;
    bool GetRecordAudio(RecordedAudio& audio) override;
    int WaveOut(const std::string& path, int synchronous, int raw) override;
    int StopWaveOut() override;
    int WaveOutSub(const std::string& path, int offset, int raw) override;
    int PauseWaveOut() override;
    int Decoder1(const std::string& source, const std::string& target, int volume,
                 int progressScale) override;
    void Pause(unsigned ms) override { pausedMs += ms; }

private:
    // A playback starts unless the file is missing or one plays already.
    int StartPlaying(const std::string& path);
};

// Keeps what the controller told the window, one line per change, in the
// spelling of the headless program.
class RecordingView : public PhoneView {
public:
    std::vector<std::string> lines;
    std::string status, number, popup;
    bool popupShown = false;
    bool confirmAnswer = true;
    int callLogPlayState = 0;
    std::map<int, int> pictures;
    std::map<int, std::string> looks;
    std::vector<NewMessage> arrived;
    int newMessages = -1;  // the count last told; -1 before the first
    int callsLogged = 0;   // times the view was told of a call log change

    bool Saw(const std::string& line) const;
    void Clear() { lines.clear(); }

    void SetStatusText(const std::string& text) override;
    void SetNumberText(const std::string& text) override;
    void SetPicture(int control, int bitmap) override;
    void SetButtonLook(int control, const std::string& state) override;
    void ShowRingPopup(const std::string& text) override;
    void CloseRingPopup() override;
    bool RingPopupShown() const override { return popupShown; }
    void MessageBox(const std::string& text) override { lines.push_back("messagebox: " + text); }
    bool Confirm(const std::string& text) override;
    int CallLogPlayState() const override { return callLogPlayState; }
    void StopCallLogPlayback() override;
    void MessageArrived(const NewMessage& message) override;
    void NewMessagesChanged(int count) override;
    void CallLogged() override { ++callsLogged; }
};

class Phone : public ::testing::Test {
protected:
    // Settings are written before the phone starts (it reads them when it
    // opens the device).
    void StartPhone(const std::function<void(PhoneSettings&)>& configure = {});

    // Delivers every posted message, as the window's thread would.
    void Deliver();
    void Post(vt::UINT message, vt::LPARAM lParam = 0);
    // Moves the manual clock (timers and wall time).
    void Advance(unsigned ms);

    // A ring with a caller-ID message for `number` (none when empty).
    void Ring(const std::string& number);
    void RingEnd();
    void FarEndPresses(const std::string& keys);
    void AddContact(const std::string& name, const std::string& homePhone, bool innerLine = false);
    // A prompt file (or the greeting) with some bytes in the prompt folder.
    std::string MakePrompt(const char* name);
    void MakeAllPrompts();
    std::string MakeGreeting();

    std::vector<CallRecord> Rows();
    CallRecord OnlyRow();

    vt::test::TestEnvironment env_;
    vt::FixedClock clock_ = vt::FixedClock::At(2026, 12, 8, 9, 0, 0);
    vt::ManualTimerHost timers_;
    ScriptLine line_;
    RecordingView view_;
    std::unique_ptr<DatabasePhoneStore> store_;
    std::unique_ptr<PhoneController> phone_;
    unsigned fractionMs_ = 0;
};

}  // namespace vantelo::test
