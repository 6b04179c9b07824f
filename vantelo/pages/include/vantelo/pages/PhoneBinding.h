#pragma once
// The phone window bound to the phone controller. It owns both and passes
// between them without adding behaviour of its own: the controller's view
// is the window's display methods, the window's buttons, keys and posted
// messages are the controller's operations, and names of numbers come from
// the window's contact pages (which show a ringing caller's entry). It
// installs the call log page and hands the controller's playback hooks to
// the page's player, and the controller's flags and line to the player.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/TimerHost.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PhoneController.h"
#include "vantelo/core/PhoneLine.h"
#include "vantelo/core/PhoneView.h"
#include "vantelo/pages/CallLogActions.h"
#include "vantelo/pages/PhoneActions.h"
#include "vantelo/pages/WindowSetup.h"

namespace vantelo::pages {

class CallListPage;
class PhoneWindow;

class PhoneBinding : public PhoneView,
                     public PhoneActions,
                     public CallLogActions,
                     private PhoneStore {
public:
    struct Parts {
        PhoneLine& line;
        const vt::Clock& clock;
        PhoneController::Places places;
        WindowSetup window;  // its database is the call log's too
        // The controller's timers (not owned); Qt timers when null. The
        // caller of a given host hands its ticks to Phone().
        vt::TimerHost* timers = nullptr;
    };

    explicit PhoneBinding(const Parts& parts);
    ~PhoneBinding() override;

    PhoneWindow& Window() { return *window_; }
    // The window as the program shows it.
    QWidget& WindowWidget();
    PhoneController& Phone() { return *controller_; }
    // The call log page (installed at window creation); null once closed.
    CallListPage* CallLog() const;
    // Empty when the call log could be opened, else why not.
    const std::string& OpenError() const { return calls_.OpenError(); }
    // Runs once the exit sequence has closed the window (the program ends).
    void SetOnExit(std::function<void()> onExit) { onExit_ = std::move(onExit); }
    // Told the ring pop-up's text each time it opens or changes, and
    // nullopt when it closes (the desktop notification follows it).
    void SetRingObserver(std::function<void(const std::optional<std::string>&)> observer) {
        ringObserver_ = std::move(observer);
    }
    // Told each new message the answering machine keeps (the desktop
    // notification shows it).
    void SetMessageObserver(std::function<void(const NewMessage&)> observer) {
        messageObserver_ = std::move(observer);
    }
    // The exit sequence when nobody is there to answer (SIGTERM): a question
    // it asks is taken as OK.
    void ExitUnattended();

    // Window creation's phone part: the device, flags, lamp and log file.
    void Start() { controller_->Start(); }

    // PhoneView: what the controller shows.
    void SetStatusText(const std::string& text) override;
    // The contact book changed behind the window (an address-book sync):
    // the address book page lists it again.
    void ContactsChanged();
    // Another desk changed tables of the shared database: the call log
    // (CallList) and the contact pages (AddressList, InnerLineList) show
    // them again.
    void TablesChanged(const std::set<std::string>& tables);
    // Another desk's line rings: the ring pop-up shows `text` (which names the
    // desk) unless this desk's own ring holds it; EndDeskRing closes the one
    // of `desk`. This desk's own ring always takes the pop-up over.
    void ShowDeskRing(const std::string& desk, const std::string& text);
    void EndDeskRing(const std::string& desk);
    void SetNumberText(const std::string& text) override;
    void SetPicture(int control, int bitmap) override;
    void SetButtonLook(int control, const std::string& state) override;
    void ShowRingPopup(const std::string& text) override;
    void CloseRingPopup() override;
    bool RingPopupShown() const override;
    void MessageBox(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowWindow() override;
    void HideWindow() override;
    std::string ClipboardText() override;
    std::string MemoText() const override;
    std::optional<std::string> ChooseSoundFile() override;
    void SaveMemo(const std::string& memo) override;
    int CallLogPlayState() const override;
    bool CallLogDecoding() const override;
    void StopCallLogPlayback() override;
    void CodecDone(long result) override;
    void PlayProgress(long bytes) override;
    void CallLogged() override;
    void CallerIdentified(const std::string& number, const CallerName& caller) override;
    void MessageArrived(const NewMessage& message) override;
    void NewMessagesChanged(int count) override;

    // PhoneActions: what the window asks of the phone.
    void OnButton(int controlId) override;
    void OnKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) override;
    void OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) override;
    void OnExitCommand() override;
    bool IsLineBusy() override;
    void SetDialNumber(const std::string& number) override;
    void HookButton() override;
    void DialInner() override;
    void SetCallName(const std::string& name) override;
    bool IsRinging() const override;
    PhoneSettings& Settings() override;
    bool SaveSettings() override;

    // CallLogActions: what the call log page and its playback ask.
    std::string LookupName(const std::string& number) override;
    PhoneLine& Line() override { return line_; }
    bool IsRecording() const override;
    bool IsPlaying() const override;
    bool IsAbsenceMode() const override;
    void SetPlaying(bool playing) override;
    void ShowPlaying(bool playing) override;
    // Appends to "logUserApp.txt" in the application folder.
    void WriteLog(const std::string& line) override;
    std::filesystem::path ApplicationFolder() const override { return appFolder_; }
    // Calls that end while held are kept in order and stored on release.
    void HoldCallLog(bool held) override;
    // The page played or deleted messages: the count is looked at again.
    void MessagesChanged() override;
    // A message played on the page is heard.
    void RecordingPlayed(const std::string& file) override;

private:
    // PhoneStore: names through the window's pages, calls into the call log.
    CallerName IdentifyCaller(const std::string& number, const std::string& strExt) override {
        return calls_.IdentifyCaller(number, strExt);
    }
    bool AppendCall(CallRecord& call, std::string& error) override;
    std::optional<std::set<std::string>> RecordingsNamedIn(const std::string& folder) override {
        return calls_.RecordingsNamedIn(folder);
    }
    ScreeningDecision Screen(const ScreenedCaller& caller, const vt::LocalTime& at) override {
        return calls_.Screen(caller, at);
    }
    std::optional<std::vector<NewMessage>> NewMessages() override { return calls_.NewMessages(); }
    bool MessagesMayHaveChanged() override { return calls_.MessagesMayHaveChanged(); }
    std::vector<long long> TakeArrivedMessages() override { return calls_.TakeArrivedMessages(); }
    // The kept calls and contact edits go over when the server is back; the
    // contact pages follow the server (away: the desk's copy).
    int HandOverKeptCalls() override;
    std::string TakeNotice() override;
    // True when the contact pages changed over to the copy just now.
    bool FollowServer();

    PhoneLine& line_;
    const vt::Clock& clock_;
    std::filesystem::path appFolder_;
    DatabasePhoneStore calls_;
    std::unique_ptr<vt::TimerHost> ownTimers_;
    std::unique_ptr<PhoneWindow> window_;
    std::unique_ptr<PhoneController> controller_;
    QPointer<CallListPage> callLog_;
    bool callLogHeld_ = false;
    std::vector<CallRecord> heldCalls_;
    std::function<void()> onExit_;
    std::function<void(const std::optional<std::string>&)> ringObserver_;
    std::function<void(const NewMessage&)> messageObserver_;
    bool unattended_ = false;
    bool contactsOnCopy_ = false;
    std::string deskRing_;  // the other desk whose ring the pop-up shows
};

}  // namespace vantelo::pages
