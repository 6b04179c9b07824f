#include "PhoneFixture.h"

#include <filesystem>
#include <fstream>

#include "lindev/Messages.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::test {

namespace fs = std::filesystem;

// --- ScriptLine ----------------------------------------------------------------

void ScriptLine::FinishPlayback() {
    status &= ~0x20u;
    playingPath.clear();
    Post(WM_TY_THREADNOTIFY, 0);
}

int ScriptLine::Count(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls)
        if (c.rfind(prefix, 0) == 0)
            ++n;
    return n;
}

std::string ScriptLine::Last(const std::string& prefix) const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (it->rfind(prefix, 0) == 0)
            return *it;
    return {};
}

int ScriptLine::InitializeAllDevice() {
    calls.push_back("InitializeAllDevice");
    return plugged ? 1 : 0;
}
int ScriptLine::OpenDeviceByIndex(int logFlag) {
    calls.push_back("OpenDeviceByIndex " + std::to_string(logFlag));
    return plugged ? 1 : 0;
}
int ScriptLine::StartService(vt::HWND) {
    calls.push_back("StartService");
    return plugged ? 0 : -1;
}
int ScriptLine::StopService() {
    calls.push_back("StopService");
    return 0;
}
int ScriptLine::CloseDeviceByIndex() {
    calls.push_back("CloseDeviceByIndex");
    return 1;
}

int ScriptLine::HookOff() {
    calls.push_back("HookOff");
    if (!OffHook()) {
        status |= 0x10;
        Post(WM_TY_LINENOTIFY, 1);
    }
    return 1;
}

int ScriptLine::HookOn() {
    calls.push_back("HookOn");
    if (OffHook()) {
        // The service thread ends what still runs, then reports the hook.
        if (status & 0x20)
            FinishPlayback();
        if (status & 0x40) {
            status &= ~0x40u;
            Post(WM_TY_THREADNOTIFY, 1);
        }
        status &= ~0x10u;
        Post(WM_TY_LINENOTIFY, 0);
    }
    return 1;
}

int ScriptLine::SendNumber(char digit, int toneTime, int toneLevel) {
    calls.push_back("SendNumber " + std::string(1, digit) + " " + std::to_string(toneTime) + " " +
                    std::to_string(toneLevel));
    return OffHook() ? 1 : 0;
}

int ScriptLine::SendFlash(int flashTime) {
    calls.push_back("SendFlash " + std::to_string(flashTime));
    return 1;
}

int ScriptLine::AutoDialThread(const char* number, int useExtension, const char* extension,
                               int delay, int onTime, int offTime, int level) {
    calls.push_back("AutoDialThread " + std::string(number) +
                    " ext=" + std::to_string(useExtension) + " prefix=" + extension + " " +
                    std::to_string(delay) + " " + std::to_string(onTime) + " " +
                    std::to_string(offTime) + " " + std::to_string(level));
    // As the library: refused on a held, playing, recording or dialling line.
    if (autoDialResult == 0 || (status & 0x470))
        return 0;
    if (!OffHook()) {
        status |= 0x10;
        Post(WM_TY_LINENOTIFY, 1);
    }
    Post(WM_TY_AUTODIALDONE, 1);
    return 1;
}

int ScriptLine::VolumeControl(int up) {
    calls.push_back("VolumeControl " + std::to_string(up));
    return 1;
}
int ScriptLine::ToggleMute() {
    calls.push_back("ToggleMute");
    return 1;
}
int ScriptLine::SetHeadSet(int mode) {
    calls.push_back("SetHeadSet " + std::to_string(mode));
    headsetLoc = mode;
    return 1;
}
int ScriptLine::SetARSComm(int ledOn) {
    calls.push_back("SetARSComm " + std::to_string(ledOn));
    status = ledOn ? (status | 0x8u) : (status & ~0x8u);
    return 1;
}

int ScriptLine::StartRecord(const std::string& path, int, int recordType) {
    calls.push_back("StartRecord " + path + " " + std::to_string(recordType));
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return 0;
    out << "recording";
    status |= 0x40;
    recordingPath = path;
    return 1;
}

int ScriptLine::StopRecord() {
    calls.push_back("StopRecord");
    if (status & 0x40) {
        status &= ~0x40u;
        Post(WM_TY_THREADNOTIFY, 1);
    }
    return 1;
}

int ScriptLine::WatchRecord(int silenceMs) {
    calls.push_back("WatchRecord " + std::to_string(silenceMs));
    return 1;
}

bool ScriptLine::GetRecordAudio(RecordedAudio& audio) {
    if (heard)
        audio = *heard;
    return heard.has_value();
}

int ScriptLine::WaveOut(const std::string& path, int, int raw) {
    calls.push_back("WaveOut " + fs::path(path).filename().string() +
                    " raw=" + std::to_string(raw));
    return StartPlaying(path);
}

int ScriptLine::StartPlaying(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || (status & 0x20))
        return 0;
    status |= 0x20;
    playingPath = path;
    return 1;
}

int ScriptLine::StopWaveOut() {
    calls.push_back("StopWaveOut");
    // The library reports the end even when nothing played.
    FinishPlayback();
    return 1;
}

int ScriptLine::WaveOutSub(const std::string& path, int offset, int raw) {
    calls.push_back("WaveOutSub " + fs::path(path).filename().string() + " " +
                    std::to_string(offset) + " raw=" + std::to_string(raw));
    return StartPlaying(path);
}

int ScriptLine::PauseWaveOut() {
    calls.push_back("PauseWaveOut");
    if (!(status & 0x20))
        return 0;
    status &= ~0x20u;
    Post(WM_TY_THREADNOTIFY, 5);
    return 1;
}

int ScriptLine::Decoder1(const std::string& source, const std::string& target, int volume,
                         int progressScale) {
    calls.push_back("Decoder1 " + fs::path(source).filename().string() + " " +
                    fs::path(target).filename().string() + " " + std::to_string(volume) + " " +
                    std::to_string(progressScale));
    return 1;
}

// --- RecordingView ---------------------------------------------------------------

namespace {
std::string OneLine(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\\n");
    return text;
}
}  // namespace

bool RecordingView::Saw(const std::string& line) const {
    for (const auto& l : lines)
        if (l == line)
            return true;
    return false;
}

void RecordingView::SetStatusText(const std::string& text) {
    status = text;
    lines.push_back("status: " + text);
}
void RecordingView::SetNumberText(const std::string& text) {
    number = text;
    lines.push_back("number: " + OneLine(text));
}
void RecordingView::SetPicture(int control, int bitmap) {
    pictures[control] = bitmap;
    lines.push_back("picture " + std::to_string(control) + ": " + std::to_string(bitmap));
}
void RecordingView::SetButtonLook(int control, const std::string& state) {
    looks[control] = state;
    lines.push_back("button " + std::to_string(control) + ": " + state);
}
void RecordingView::ShowRingPopup(const std::string& text) {
    popupShown = true;
    popup = text;
    lines.push_back("popup: " + OneLine(text));
}
void RecordingView::CloseRingPopup() {
    if (popupShown)
        lines.push_back("popup: closed");
    popupShown = false;
}
bool RecordingView::Confirm(const std::string& text) {
    lines.push_back("messagebox: " + OneLine(text));
    return confirmAnswer;
}
void RecordingView::StopCallLogPlayback() {
    lines.push_back("page: stop playback");
    callLogPlayState = 0;
}

void RecordingView::MessageArrived(const NewMessage& message) {
    arrived.push_back(message);
    lines.push_back("message: " + std::to_string(message.callId) + " " + message.number);
}
void RecordingView::NewMessagesChanged(int count) {
    newMessages = count;
    lines.push_back("messages: " + std::to_string(count));
}

// --- Phone ---------------------------------------------------------------------------

void Phone::StartPhone(const std::function<void(PhoneSettings&)>& configure) {
    PhoneSettings settings;
    if (configure)
        configure(settings);
    ASSERT_TRUE(SaveSettings(settings, vt::SettingsFilePath()));
    store_ = std::make_unique<DatabasePhoneStore>(clock_, env_.AppHome() / kDatabaseFileName);
    ASSERT_EQ(store_->OpenError(), "");
    phone_ = std::make_unique<PhoneController>(
        line_, view_, timers_, *store_, clock_, nullptr,
        PhoneController::Places{env_.AppHome(), vt::SettingsFilePath()});
    timers_.SetSink(phone_.get());
    phone_->Start();
    Deliver();
}

void Phone::Deliver() {
    while (!line_.posted.empty()) {
        const auto message = line_.posted.front();
        line_.posted.pop_front();
        phone_->OnMessage(message.message, 0, message.lParam);
    }
}

void Phone::Post(vt::UINT message, vt::LPARAM lParam) {
    line_.Post(message, lParam);
    Deliver();
}

void Phone::Advance(unsigned ms) {
    // Wall time follows the manual clock in whole seconds.
    fractionMs_ += ms;
    clock_.AdvanceSeconds(fractionMs_ / 1000);
    fractionMs_ %= 1000;
    timers_.Advance(ms);
    Deliver();
}

void Phone::Ring(const std::string& number) {
    Post(WM_TY_RINGDETECTED);
    if (number.empty())
        return;
    line_.cid = "12080900";
    line_.cid.push_back(static_cast<char>(number.size()));
    line_.cid += number;
    Post(WM_TY_CIDREDAY);
}

void Phone::RingEnd() {
    Post(WM_TY_RINGEND, 5700);
}

void Phone::FarEndPresses(const std::string& keys) {
    for (char k : keys) {
        long code = k == '*' ? 10 : k == '#' ? 12 : k == '0' ? 11 : k - '0';
        Post(WM_TY_GETDTMF, code);
    }
}

void Phone::AddContact(const std::string& name, const std::string& homePhone, bool innerLine) {
    ContactRecord contact;
    *contact.Field("Name") = name;
    *contact.Field("HomePhone") = homePhone;
    const auto db = env_.AppHome() / kDatabaseFileName;
    storage::Status s;
    if (innerLine) {
        CRSInnerLineList set;
        ASSERT_TRUE(set.Open(db).ok());
        s = set.AddContact(contact);
    } else {
        CRSAddressList set;
        ASSERT_TRUE(set.Open(db).ok());
        s = set.AddContact(contact);
    }
    ASSERT_TRUE(s.ok()) << s.ToString();
}

std::string Phone::MakePrompt(const char* name) {
    const auto folder = env_.AppHome() / kPromptFolderName;
    fs::create_directories(folder);
    std::ofstream(folder / name) << "RIFF";
    return (folder / name).string();
}

void Phone::MakeAllPrompts() {
    for (const char* name : {kPrompt1File, kPrompt2File, kPrompt8File, kPrompt9File})
        MakePrompt(name);
}

std::string Phone::MakeGreeting() {
    const auto file = env_.AppHome() / "greeting.wav";
    std::ofstream(file) << "RIFF";
    return file.string();
}

std::vector<CallRecord> Phone::Rows() {
    CRSCallList set(env_.AppHome() / kDatabaseFileName);
    std::vector<CallRecord> rows;
    if (!set.Open().ok())
        return rows;
    for (long i = 0; i < set.GetRecordCount(); ++i) {
        EXPECT_TRUE(set.SetAbsolutePosition(i).ok());
        auto row = set.CurrentCall();
        if (row.ok())
            rows.push_back(row.value());
    }
    return rows;
}

CallRecord Phone::OnlyRow() {
    auto rows = Rows();
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? CallRecord{} : rows.front();
}

}  // namespace vantelo::test
