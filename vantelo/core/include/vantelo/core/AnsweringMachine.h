#pragma once
// Absence mode: the answering machine that takes a call after the answer
// delay, plays the greeting and lets the caller leave a message or choose
// by key. A step variable (AbsenceLevel) driven by the phone controller's
// hook, digit, busy and playback-end events and by timers 3, 5 and 33.

#include <filesystem>
#include <string>

#include "platform/TimerHost.h"
#include "vantelo/core/PhoneLine.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/PhoneState.h"
#include "vantelo/core/PhoneView.h"

namespace vantelo {

// AbsenceLevel values.
enum AbsenceLevel : int {
    kLevelIdle = 0,
    kLevelGreetingOnly = 1,
    kLevelKeysAccepted = 10,
    kLevelKey1 = 11,
    kLevelKey2 = 12,
    kLevelKey3 = 13,
    kLevelOtherKey = 18,
    kLevelWaitingForKey = 19,
    kLevelPrompt1 = 21,
    kLevelPrompt2 = 22,
    kLevelTakenOver = 89,
    kLevelPrompt9 = 99,
};

// The prompt folder under the application folder and its files.
inline constexpr const char* kPromptFolderName = "m_ARSfile";
inline constexpr const char* kPrompt1File = "m_ArsRe1.wav";  // before a message
inline constexpr const char* kPrompt2File = "m_ArsRe2.wav";  // before a 15 s hold
inline constexpr const char* kPrompt8File = "m_ArsRe8.wav";  // a key without meaning
inline constexpr const char* kPrompt9File = "m_ArsRe9.wav";  // no key came
// The greeting played when the user has chosen none.
inline constexpr const char* kDefaultGreetingFile = "m_ArsGreeting.wav";
// Played to a caller whom a screening rule keeps out (action "greeting").
inline constexpr const char* kScreeningPromptFile = "m_ArsBlock.wav";

class AnsweringMachine {
public:
    // The controller's actions the machine uses.
    class Host {
    public:
        virtual ~Host() = default;
        virtual void ToggleRecording() = 0;
        virtual void HookButton() = 0;
        // The machine answers the ringing call (the hook message follows).
        virtual void MachineTakesCall() = 0;
        // The user takes the call over from the machine.
        virtual void UserTakesCall() = 0;
    };

    AnsweringMachine(PhoneState& state, PhoneLine& line, PhoneView& view, vt::TimerHost& timers,
                     const PhoneSettings& settings, Host& host, std::filesystem::path promptFolder);

    // The ARS button; the adapter's own ARS key (no lamp command).
    void ArsButton();
    void OnArsKey(bool on);

    // Ring detected: arm timer 3. Ring ended on an idle line: disarm it.
    void Arm();
    void OnRingEnd();
    // Timers 3, 5 and 33; false for another id.
    bool OnTimer(int id);

    // The line went off-hook while engaged.
    void StartGreeting();
    // A playback ended while engaged (after the controller's pause).
    void OnPlaybackEnded();
    // A digit from the caller while engaged (already in the line digits).
    void OnDigit(char digit);
    // The caller's busy tone while engaged.
    void OnBusyTone();
    // The line went on-hook while engaged.
    void OnHangUp();
    // What the line library heard in the message being recorded
    // (WM_TY_RECORDWATCH): enough silence ends it as the message limit
    // does, the busy tone as the caller's hang-up does.
    void OnRecordWatch(long what);
    // Whether the recording that runs is the caller's message.
    bool RecordingMessage() const;
    // The message's recording has stopped: its trailing silence (when the
    // silence setting is on) and the busy tone are cut from the file, and a
    // message shorter than the shortest kept is deleted with its file; the
    // call then keeps no recording.
    void KeepMessage();

    // The greeting to play: the chosen file, else the default greeting when
    // it exists; empty when there is none.
    std::string GreetingFile() const;
    std::filesystem::path PromptPath(const char* file) const { return promptFolder_ / file; }
    // Raw (compressed) playback for a ".vrc" path.
    static int RawFlagFor(const std::string& path);

private:
    bool Play(const std::string& path);
    bool PlayGreeting();
    // Playing set, picture 234, the greeting status text, level 10.
    void ShowGreetingPlaying();
    void StopPlayback();
    void WaitForKey();
    // Plays a prompt now or, when it fails, waits for a key.
    void PlayPromptOrWait(const char* file, int levelOnSuccess);
    void OnAnswerTimer();
    void OnCallerTimeOut();
    void OnMessageLimit();

    PhoneState& state_;
    PhoneLine& line_;
    PhoneView& view_;
    vt::TimerHost& timers_;
    const PhoneSettings& settings_;
    Host& host_;
    std::filesystem::path promptFolder_;
};

}  // namespace vantelo
