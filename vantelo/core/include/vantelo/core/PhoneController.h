#pragma once
// The phone: the behaviour of the main window apart from painting. Line
// messages, button and key actions, copy-data requests and timers come in;
// everything goes out through the line, the view, the timers and the store.
// It runs on one thread (the window's), one event at a time.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/MessageWindow.h"
#include "platform/TimerHost.h"
#include "vantelo/core/AnsweringMachine.h"
#include "vantelo/core/CallJournal.h"
#include "vantelo/core/LineWatcher.h"
#include "vantelo/core/CallerDirectory.h"
#include "vantelo/core/PhoneLine.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/PhoneState.h"
#include "vantelo/core/PhoneStore.h"
#include "vantelo/core/PhoneView.h"

namespace vantelo {

class PhoneController : public vt::TimerSink, private AnsweringMachine::Host {
public:
    struct Places {
        std::filesystem::path appFolder;     // recordings, prompts, logUserApp.txt
        std::filesystem::path settingsFile;  // the INI store
    };

    PhoneController(PhoneLine& line, PhoneView& view, vt::TimerHost& timers, PhoneStore& store,
                    const vt::Clock& clock, vt::HWND window, Places places);

    // Window creation: opens the device (or starts the retry timer), clears
    // the flags, switches off a lit ARS lamp, empties logUserApp.txt. A call
    // that the last run left behind is logged then, or taken up again at
    // the hook message when the adapter still holds its line.
    void Start();
    // Result 1 when the adapter runs, else 0.
    int OpenDevice();
    // The tray's exit: false when the user cancelled. On true the service is
    // stopped, the device closed and the settings saved.
    bool ExitSequence();

    // Messages of the line library (and the ring pop-up's click); false for
    // a message that is not the phone's.
    bool OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam);
    void OnTimer(int id) override;
    // A request of another program: kind 16 dial, 32 hang up, others are
    // ignored. Returns the reason for a refusal, or empty.
    std::string OnCopyData(std::uint32_t kind, const std::string& payload);

    // Operations of the window and its pages.
    void SetDialNumber(const std::string& text);
    void HookButton() override;
    void DialInner();
    void SetCallName(const std::string& name);
    std::string LookupName(const std::string& number);
    // A caller the books do not know is asked of `directory` (nullptr: none).
    void SetCallerDirectory(CallerDirectory* directory) { directory_ = directory; }
    // The directory's answer for the caller last asked about: the name goes
    // to the number display and the ring pop-up while the call lasts, and
    // into its call log row once the call is logged. An empty name, or an
    // answer for an earlier caller, changes nothing.
    void DirectoryAnswered(const std::string& number, const std::string& name);
    void ToggleRecording() override;
    void KeypadDigit(char digit);
    void RedialButton();
    void FlashButton();
    void PickUpButton();
    void MuteButton();
    void SaveMemoButton();
    // The Play button; `file` stands for the file dialog's choice when given.
    void PlayButton(const std::string* file = nullptr);
    void RecordButton();
    void ArsButton();
    void ClearNumber();

    // The key filter for keys typed outside the memo box.
    enum class Key { Backspace, Paste, Enter, Escape, Delete };
    void FilterChar(char c);
    void FilterKey(Key key);

    const PhoneState& State() const { return state_; }
    CallPhase Phase() const { return state_.phase; }
    // The call log page's playback sets and clears the playing flag, so that
    // the phone's own Play and hook handling know the line's audio is taken.
    void SetPlayingFlag(bool playing) { state_.playing = playing; }
    const PhoneSettings& Settings() const { return settings_; }
    PhoneSettings& MutableSettings() { return settings_; }
    bool SaveSettingsNow();
    AnsweringMachine& Machine() { return machine_; }
    // Looks at the new messages again: tells the view of each message that
    // arrived and of a changed count. The window calls it after it played or
    // deleted a message; it also runs after each logged call and on a timer.
    void RefreshMessages();
    // The count last told to the view; -1 before the first.
    int NewMessageCount() const { return shownMessages_; }
    // A listener of line events beside the view (nullptr for none); it
    // outlives the controller or is taken away first.
    void SetLineWatcher(LineWatcher* watcher) { watcher_ = watcher ? watcher : &noWatcher_; }

private:
    void OnRingDetected();
    void OnRingEnd();
    void OnCallerId();
    // Asks the screening rules about the caller of a ringing line.
    void ScreenCaller();
    // The second ring came without a caller-ID message.
    void OnSecondRing();
    // A rule keeps the caller out: no pop-up, no machine, and the action.
    void KeepOut(BlockAction action);
    // The caller as the number display shows it: "name\nnumber" or the number.
    std::string CallerText() const;
    void OnDeviceRemoved();
    // The call ends with the adapter gone, as a hang-up would end it.
    void EndCallWithoutLine();
    void OnHookOff();
    void OnHookOn();
    void OnReceive();
    void OnBusyTone();
    void OnLineDigit(long code);
    void OnThreadNotify(long what);
    void OnAutoDialDone();
    void OnDialRecordTimer();
    void OnRetryTimer();

    bool LineBusy();
    // Stops a playback into the line only when one plays, so that no stray
    // end-of-playback reaches the answering machine.
    void StopPlaybackIfAny();
    void RestoreTelMode();
    void ShowRecordingStopped();
    // Starts a recording of the call (or of a greeting) into a new file.
    void StartRecording(int compressMode, bool greeting);
    // Stops a call's recording; a caller's message is then judged and cut.
    void StopRecording();
    void RestartDialRecordTimer();
    void AppendDigit(char digit);
    void DialOutside(const std::string& number);
    void WriteCallLog();
    // Appends the call; on a refusal the call is kept for the next start.
    bool LogCall(CallRecord& call);
    // Tells the store's news (the shared server went away or came back).
    void ShowStoreNotice();
    void ResetCall();
    // The idle look of the hook, mute and number display.
    void ShowIdle();

    // The journal of the call in progress (see CallJournal.h).
    bool CallInProgress() const;
    JournalEntry CurrentEntry() const;
    // Brings the journal up to date after an event; `alive` marks a sign of
    // life even when nothing changed.
    void SyncJournal(bool alive = false);
    // At start: the calls set aside and the call the last run left.
    void RecoverCalls();
    // Logs a call from its journal; false when the store refused it.
    bool LogInterruptedCall(const JournalEntry& entry);
    // Names in the user log the recordings of `folder` that no call names.
    void ReportUnnamedRecordings(const std::string& folder);
    // A held line found at start becomes the call its journal describes.
    void TakeUpCall(const JournalEntry& entry);
    // The rest of a taken-up call was recorded into a file of its own: it
    // joins the first part, which the call keeps.
    void JoinTakenUpRecording();
    bool InUse(unsigned status) const;
    // The only writer of the call phase.
    void SetPhase(CallPhase phase) { state_.phase = phase; }
    // AnsweringMachine::Host
    void MachineTakesCall() override;
    void UserTakesCall() override;

    PhoneLine& line_;
    PhoneView& view_;
    vt::TimerHost& timers_;
    PhoneStore& store_;
    CallerDirectory* directory_ = nullptr;
    // The caller last asked of the directory, and the call log row of that
    // call once it is written (0 before).
    struct DirectoryAsk {
        std::string number;
        long long loggedCall = 0;
    };
    std::optional<DirectoryAsk> asked_;
    const vt::Clock& clock_;
    vt::HWND window_;
    Places places_;
    PhoneSettings settings_;
    PhoneState state_;
    AnsweringMachine machine_;
    CallJournal journal_;
    bool journalActive_ = false;  // the journal names the call in progress
    std::string journalKey_;      // the journal's content without its sign of life
    vt::LocalTime lastAlive_;
    std::optional<JournalEntry> takeUp_;  // a held call waiting for its hook message
    std::string firstPart_;               // the taken-up call's earlier recording
    int shownMessages_ = -1;              // new messages last told to the view
    LineWatcher noWatcher_;
    LineWatcher* watcher_ = &noWatcher_;
};

}  // namespace vantelo
