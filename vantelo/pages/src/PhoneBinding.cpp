#include "vantelo/pages/PhoneBinding.h"

#include <QClipboard>
#include <QGuiApplication>

#include "AddressBookPage.h"
#include "CallListPage.h"
#include "InnerLinePage.h"
#include "PhoneWindow.h"
#include "SoundFileDialog.h"
#include "i18n/Translations.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/UserLog.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/QtText.h"
#include "widgets/QtTimerHost.h"

namespace vantelo::pages {

using vt::widgets::Q;

namespace {

// The keypad's buttons and the digit each one sends.
char KeypadDigit(int controlId) {
    if (controlId >= IDC_KEY_1 && controlId < IDC_KEY_1 + 9)
        return static_cast<char>('1' + controlId - IDC_KEY_1);
    switch (controlId) {
        case IDC_KEY_0:
            return '0';
        case IDC_KEY_STAR:
            return '*';
        case IDC_KEY_HASH:
            return '#';
        default:
            return 0;
    }
}

}  // namespace

QWidget& PhoneBinding::WindowWidget() {
    return *window_;
}

CallListPage* PhoneBinding::CallLog() const {
    return callLog_;
}

PhoneBinding::PhoneBinding(const Parts& parts)
    : line_(parts.line),
      clock_(parts.clock),
      appFolder_(parts.places.appFolder),
      calls_(parts.clock, parts.window.database) {
    vt::TimerHost* timers = parts.timers;
    if (!timers) {
        auto qtTimers = std::make_unique<vt::widgets::QtTimerHost>();
        timers = qtTimers.get();
        ownTimers_ = std::move(qtTimers);
    }
    window_ = std::make_unique<PhoneWindow>(*this, parts.window);
    PhoneStore& store = *this;
    PhoneView& view = *this;
    controller_ = std::make_unique<PhoneController>(line_, view, *timers, store, parts.clock,
                                                    &window_->MessageWindow(), parts.places);
    if (auto* qtTimers = dynamic_cast<vt::widgets::QtTimerHost*>(ownTimers_.get()))
        qtTimers->SetSink(controller_.get());
    callLog_ = CallListPage::InstallInto(*window_, *this, parts.window.database);
    // A shared database that opened with limits (read-only, slow search) says so once.
    if (!calls_.OpenNotice().empty())
        SetStatusText(calls_.OpenNotice());
}

PhoneBinding::~PhoneBinding() {
    // The window goes first: its pages may still ask the phone while closing.
    window_.reset();
    controller_.reset();
}

// PhoneView ----------------------------------------------------------------------

void PhoneBinding::SetStatusText(const std::string& text) {
    if (window_)  // the call log page stops its playback while the window closes
        window_->SetStatusText(Q(vt::i18n::TrLines(text::kContext, text)));
}

int PhoneBinding::HandOverKeptCalls() {
    return calls_.HandOverKeptCalls();
}

std::string PhoneBinding::TakeNotice() {
    std::string notice = calls_.TakeNotice();
    if (FollowServer())
        notice = text::kContactsOnCopy;
    return notice;
}

bool PhoneBinding::FollowServer() {
    OfflineCopy* copy = calls_.Copy();
    if (!copy || !window_)
        return false;
    const bool away = calls_.Away() || !copy->ServerAnswered();
    // Back on the server once the edits made on the copy are there.
    if (away == contactsOnCopy_ || (!away && calls_.Edits()->Count().value_or(1) > 0))
        return false;
    contactsOnCopy_ = away;
    for (ContactPage* page : {static_cast<ContactPage*>(&window_->AddressBook()),
                              static_cast<ContactPage*>(&window_->InnerLine())}) {
        if (away)
            page->UseCopy(copy->File(), *calls_.Edits());
        else
            page->UseDatabase();
    }
    return away;
}

void PhoneBinding::ContactsChanged() {
    if (window_)
        window_->AddressBook().ReloadContacts();
}

void PhoneBinding::TablesChanged(const std::set<std::string>& tables) {
    if (tables.count("CallList"))
        CallLogged();
    if (tables.count("AddressList"))
        ContactsChanged();
    if (tables.count("InnerLineList") && window_)
        window_->InnerLine().ReloadContacts();
}

void PhoneBinding::ShowDeskRing(const std::string& desk, const std::string& text) {
    if (!window_ || RingPopupShown())
        return;  // this desk's own caller comes first
    deskRing_ = desk;
    window_->ShowRingPopup(Q(text));
}

void PhoneBinding::EndDeskRing(const std::string& desk) {
    if (!window_ || deskRing_.empty() || desk != deskRing_)
        return;
    deskRing_.clear();
    window_->CloseRingPopup();
}

void PhoneBinding::SetNumberText(const std::string& text) {
    window_->SetNumberText(Q(text));
}

void PhoneBinding::SetPicture(int control, int bitmap) {
    window_->SetIndicator(control, bitmap);
}

void PhoneBinding::SetButtonLook(int control, const std::string& state) {
    window_->SetButtonLook(control, Q(state));
}

void PhoneBinding::ShowRingPopup(const std::string& text) {
    deskRing_.clear();
    window_->ShowRingPopup(Q(text));
    if (ringObserver_)
        ringObserver_(text);
}

void PhoneBinding::CloseRingPopup() {
    if (deskRing_.empty())  // another desk's ring is not this phone's to close
        window_->CloseRingPopup();
    if (ringObserver_)
        ringObserver_(std::nullopt);
}

bool PhoneBinding::RingPopupShown() const {
    // Another desk's ring leaves the pop-up free for this phone's own.
    return deskRing_.empty() && window_->Popup() && !window_->Popup()->Closing();
}

void PhoneBinding::MessageBox(const std::string& text) {
    window_->Inform(Q(vt::i18n::TrLines(text::kContext, text)));
}

bool PhoneBinding::Confirm(const std::string& text) {
    if (unattended_)
        return true;
    return window_->AskOkCancel(Q(vt::i18n::TrLines(text::kContext, text)));
}

void PhoneBinding::ShowWindow() {
    window_->ShowFromTray();
}

void PhoneBinding::HideWindow() {
    window_->HideToTray();
}

std::string PhoneBinding::ClipboardText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text().toStdString() : std::string();
}

std::string PhoneBinding::MemoText() const {
    return window_->MemoText().toStdString();
}

std::optional<std::string> PhoneBinding::ChooseSoundFile() {
    const QString file = SoundFileDialog::Choose(window_.get());
    if (file.isEmpty())
        return std::nullopt;
    return file.toStdString();
}

void PhoneBinding::SaveMemo(const std::string& memo) {
    window_->SaveMemoOnShownPage(Q(memo));
}

int PhoneBinding::CallLogPlayState() const {
    return callLog_ ? static_cast<int>(callLog_->Player().State()) : 0;
}

bool PhoneBinding::CallLogDecoding() const {
    return callLog_ && callLog_->Player().Decoding();
}

void PhoneBinding::StopCallLogPlayback() {
    if (callLog_)
        callLog_->Player().Stop();
}

void PhoneBinding::CodecDone(long result) {
    if (callLog_)
        callLog_->Player().DecodingDone(result == 0);
}

void PhoneBinding::PlayProgress(long bytes) {
    if (callLog_)
        callLog_->Player().PlayProgress(bytes);
}

void PhoneBinding::CallerIdentified(const std::string& number, const CallerName& caller) {
    window_->CallerIdentified(number, caller);
}

void PhoneBinding::MessageArrived(const NewMessage& message) {
    if (messageObserver_)
        messageObserver_(message);
}

void PhoneBinding::NewMessagesChanged(int count) {
    if (window_)
        window_->SetNewMessageCount(count);
}

void PhoneBinding::MessagesChanged() {
    if (controller_)
        controller_->RefreshMessages();
}

void PhoneBinding::RecordingPlayed(const std::string& file) {
    auto heard = calls_.Inbox().MarkRecordingHeard(file, clock_.NowLocal());
    if (!heard.ok())
        WriteLog("message not marked heard: " + heard.status().ToString());
    else if (heard.value())
        MessagesChanged();
}

void PhoneBinding::CallLogged() {
    if (callLog_ && !callLogHeld_)
        callLog_->ShowNewCalls();
}

// CallLogActions -----------------------------------------------------------------

std::string PhoneBinding::LookupName(const std::string& number) {
    return controller_->LookupName(number);
}

bool PhoneBinding::IsRecording() const {
    return controller_->State().recording;
}

bool PhoneBinding::IsPlaying() const {
    return controller_->State().playing;
}

bool PhoneBinding::IsAbsenceMode() const {
    return controller_->State().absenceMode;
}

void PhoneBinding::SetPlaying(bool playing) {
    controller_->SetPlayingFlag(playing);
}

void PhoneBinding::ShowPlaying(bool playing) {
    if (window_)
        window_->SetIndicator(IDC_PIC_PLAYBACK, playing ? IDB_PLAYBACK_ON : IDB_PLAYBACK_OFF);
}

void PhoneBinding::WriteLog(const std::string& line) {
    UserLog::Append(appFolder_, line);
}

// PhoneActions -------------------------------------------------------------------

void PhoneBinding::OnButton(int controlId) {
    PhoneController& phone = *controller_;
    if (const char digit = KeypadDigit(controlId))
        return phone.KeypadDigit(digit);
    switch (controlId) {
        case IDC_HOOK:
            return phone.HookButton();
        case IDC_REDIAL:
            return phone.RedialButton();
        case IDC_FLASH:
            return phone.FlashButton();
        case IDC_RECEIVE:
            return phone.PickUpButton();
        case IDC_MUTE:
            return phone.MuteButton();
        case IDC_SAVE_MEMO:
            return phone.SaveMemoButton();
        case IDC_PLAY:
            return phone.PlayButton();
        case IDC_RECORD:
            return phone.RecordButton();
        case IDC_ARS:
            return phone.ArsButton();
        default:
            return;
    }
}

void PhoneBinding::OnKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    using Key = PhoneController::Key;
    PhoneController& phone = *controller_;
    if (key == Qt::Key_V && (modifiers & Qt::ControlModifier))
        return phone.FilterKey(Key::Paste);
    switch (key) {
        case Qt::Key_Backspace:
            return phone.FilterKey(Key::Backspace);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return phone.FilterKey(Key::Enter);
        case Qt::Key_Escape:
            return phone.FilterKey(Key::Escape);
        case Qt::Key_Delete:
            return phone.FilterKey(Key::Delete);
        default:
            break;
    }
    if (text.size() == 1 && text[0].unicode() > 0x20 && text[0].unicode() < 0x7F)
        phone.FilterChar(static_cast<char>(text[0].unicode()));
}

void PhoneBinding::OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) {
    controller_->OnMessage(message, wParam, lParam);
}

void PhoneBinding::OnExitCommand() {
    if (!controller_->ExitSequence())
        return;
    window_->CloseRingPopup();
    window_->CloseForExit();
    if (onExit_)
        onExit_();
}

void PhoneBinding::ExitUnattended() {
    unattended_ = true;
    OnExitCommand();
    unattended_ = false;
}

bool PhoneBinding::IsLineBusy() {
    return line_.IsLineBusy() == 1;
}

void PhoneBinding::SetDialNumber(const std::string& number) {
    controller_->SetDialNumber(number);
}

void PhoneBinding::HookButton() {
    controller_->HookButton();
}

void PhoneBinding::DialInner() {
    controller_->DialInner();
}

void PhoneBinding::SetCallName(const std::string& name) {
    controller_->SetCallName(name);
}

bool PhoneBinding::IsRinging() const {
    return controller_->State().ringing;
}

PhoneSettings& PhoneBinding::Settings() {
    return controller_->MutableSettings();
}

bool PhoneBinding::SaveSettings() {
    return controller_->SaveSettingsNow();
}

// PhoneStore -----------------------------------------------------------------------

bool PhoneBinding::AppendCall(CallRecord& call, std::string& error) {
    if (callLogHeld_) {
        heldCalls_.push_back(call);
        call.Reset(clock_);  // as after storing it
        return true;
    }
    return calls_.AppendCall(call, error);
}

void PhoneBinding::HoldCallLog(bool held) {
    callLogHeld_ = held;
    if (held || heldCalls_.empty())
        return;
    std::vector<CallRecord> calls = std::move(heldCalls_);
    heldCalls_.clear();
    for (CallRecord& call : calls) {
        std::string error;
        if (!calls_.AppendCall(call, error))
            MessageBox(std::string(text::kCallLogFailed) + "\n" + error);
    }
    CallLogged();
    MessagesChanged();  // a message among them arrives now
}

}  // namespace vantelo::pages
