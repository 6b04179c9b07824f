#include "vanplay/PlayerController.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/Translate.h"
#include "vanplay/PlayerIds.h"
#include "vanplay/PlayerPaths.h"

namespace vanplay {

namespace media = vt::media;
using media::Failed;
using media::Succeeded;

// Marks the controller busy for one operation; deferred messages are
// handled when the outermost one ends.
class PlayerController::Busy {
public:
    explicit Busy(PlayerController& c) : c_(c) { ++c_.busy_; }
    ~Busy() {
        if (--c_.busy_ > 0)
            return;
        while (!c_.deferred_.empty() && !c_.closed_) {
            const Deferred d = c_.deferred_.front();
            c_.deferred_.pop_front();
            c_.OnMessage(d.message, d.wParam, d.lParam);
        }
    }

private:
    PlayerController& c_;
};

PlayerController::PlayerController(PlayerView& view, vt::MessageWindow& window,
                                   vt::TimerHost& timers)
    : view_(view), window_(window), timers_(timers) {}

PlayerController::~PlayerController() {
    Close();
}

std::string PlayerController::TimeText(std::int64_t position) {
    const auto ms = static_cast<std::uint64_t>(static_cast<double>(position) * 0.0001);
    const std::uint64_t seconds = ms / 1000;
    char text[64];
    std::snprintf(text, sizeof text, "    %.2dm : %.2ds", static_cast<int>(seconds / 60),
                  static_cast<int>(seconds % 60));
    return text;
}

std::string PlayerController::Mp3ProgressText(vt::WPARAM done, vt::LPARAM total) {
    const float percent =
        total == 0 ? 0.0f : static_cast<float>(static_cast<double>(done) * 100.0 / total);
    char text[64];
    std::snprintf(text, sizeof text, "Convert Mp3 : %0.2f%%", percent);
    return text;
}

bool PlayerController::Start(const std::string& file) {
    Busy busy(*this);
    graphReady_ = Succeeded(graph_.Create());
    view_.SetLabelText(IDC_TIME, kTimeAtStart);
    if (!graphReady_) {
        graph_.Release();
        return false;
    }
    view_.SetSliderRange(IDC_POSITION, 0, kProgressScale);
    view_.SetSliderPosition(IDC_POSITION, 0);
    view_.SetSliderRange(IDC_VOLUME, 0, kVolumeRange);
    view_.SetSliderPosition(IDC_VOLUME, kVolumeRange);
    if (!file.empty()) {
        currentFile_ = file;
        ContinueOpen();
    }
    return true;
}

void PlayerController::OpenFile(const std::string& path) {
    if (path.empty() || closed_)
        return;
    Busy busy(*this);
    RebuildGraph();
    if (path == currentFile_) {
        // The loaded file again: replay it from the start, delete nothing.
        if (IsCompressed(path) && Decoding()) {
            view_.SetLabelText(IDC_STATUS, "  " + FileNamePart(currentFile_));
            return;  // its decoding goes on and plays when done
        }
        if (IsCompressed(path) && !decodedFile_.empty()) {
            view_.SetLabelText(IDC_STATUS, "  " + FileNamePart(currentFile_));
            view_.EnableControl(IDC_POSITION, true);
            PlayDecoded();
            return;
        }
    } else {
        timers_.Stop(PositionTimer);
        StopGraph();
        DiscardDecoded();
        currentFile_ = path;
    }
    ContinueOpen();
}

void PlayerController::ContinueOpen() {
    view_.SetLabelText(IDC_STATUS, "  " + FileNamePart(currentFile_));
    view_.EnableControl(IDC_POSITION, true);
    if (IsCompressed(currentFile_))
        StartDecoding();
    else
        OpenUncompressed();
}

void PlayerController::OpenUncompressed() {
    decodedFile_.clear();
    RebuildGraph();
    const bool rendered = Succeeded(Render(currentFile_));
    ReadDuration();
    view_.EnableControl(IDC_VOLUME, true);
    ApplyVolume();
    // An opened WAV is what the MP3 button exports.
    view_.ShowControl(IDC_MP3, rendered);
    if (Failed(RunGraph())) {
        view_.ShowControl(IDC_STOP, false);
        ShowPlaying(false);
        return;
    }
    view_.ShowControl(IDC_STOP, true);
    ShowPlaying(true);
    timers_.Start(PositionTimer, kPositionTimerMs);
    if (onPlaying_)
        onPlaying_(currentFile_);
}

void PlayerController::StartDecoding() {
    view_.EnableControl(IDC_POSITION, false);
    view_.SetSliderPosition(IDC_POSITION, 0);
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_MP3}) view_.ShowControl(id, false);
    auto target = ClaimDecodedFile(currentFile_);
    if (target) {
        decodedFile_ = target->string();
        DecodeJob job{currentFile_, decodedFile_, CodecVolume, kProgressScale};
        auto run = std::make_unique<DecodeRun>(std::move(job), &window_, nextSerial_);
        if (run->Start()) {
            currentSerial_ = nextSerial_++;
            runs_.push_back(std::move(run));
            view_.SetSliderPosition(IDC_POSITION, 1);
            return;
        }
        DeleteOwned(decodedFile_);
        decodedFile_.clear();
    }
    view_.SetLabelText(IDC_STATUS,
                       vt::Translate("vanplay", DecodeResultLabel(kDecodeCannotCreate)));
    view_.ShowControl(IDC_PLAY, true);
}

void PlayerController::PlayDecoded() {
    RebuildGraph();
    Render(decodedFile_);
    ReadDuration();
    view_.EnableControl(IDC_POSITION, true);
    view_.EnableControl(IDC_VOLUME, true);
    ApplyVolume();
    if (Failed(RunGraph())) {
        view_.ShowControl(IDC_STOP, false);
        ShowPlaying(false);
        return;
    }
    timers_.Start(PositionTimer, kPositionTimerMs);
    view_.ShowControl(IDC_STOP, true);
    ShowPlaying(true);
    view_.ShowControl(IDC_MP3, !Exporting());
    if (onPlaying_)
        onPlaying_(currentFile_);
}

void PlayerController::PlayPause() {
    if (currentFile_.empty() || Decoding())
        return;
    Busy busy(*this);
    switch (state_) {
        case PlayState::Running:
            timers_.Stop(PositionTimer);
            PauseGraph();
            ShowPlaying(false);
            break;
        case PlayState::Paused:
        case PlayState::Stopped:
            if (Succeeded(RunGraph())) {
                timers_.Start(PositionTimer, kPositionTimerMs);
                ShowPlaying(true);
            }
            break;
    }
}

void PlayerController::Stop() {
    Busy busy(*this);
    view_.SetSliderPosition(IDC_POSITION, 0);
    graph_.SetPositions(0);
    StopGraph();
    timers_.Stop(PositionTimer);
    UpdateTime(0);
    if (Decoding())
        return;  // the transport buttons stay hidden until it is done
    ShowPlaying(false);
}

void PlayerController::OnPositionScroll(int position, bool ended) {
    if (Decoding() || !graph_.IsRendered())
        return;
    Busy busy(*this);
    if (seekDrag_) {
        graph_.GetState(10, &savedState_);
        seekDrag_ = false;
        graph_.Pause();
    }
    const std::int64_t target = duration_ * position / 100;
    graph_.SetPositions(target);
    if (ended) {
        if (savedState_ == PlayState::Stopped)
            graph_.Stop();
        else if (savedState_ == PlayState::Running)
            graph_.Run();
        seekDrag_ = true;
    }
    UpdateTime(target);
}

void PlayerController::OnVolumeNotify() {
    Busy busy(*this);
    ApplyVolume();
}

void PlayerController::ExportMp3() {
    if (currentFile_.empty() || Exporting() || Decoding())
        return;
    const std::string source = IsCompressed(currentFile_) ? decodedFile_ : currentFile_;
    if (source.empty())
        return;  // the decoding failed: nothing to convert
    Busy busy(*this);
    view_.SetLabelText(IDC_STATUS, "  " + FileNamePart(currentFile_));
    view_.EnableControl(IDC_POSITION, true);
    view_.ShowControl(IDC_MP3, false);
    export_ = std::make_unique<Mp3ExportRun>(source, Mp3PathFor(currentFile_), &window_);
    if (!export_->Start()) {
        export_.reset();
        view_.ShowControl(IDC_MP3, true);
    }
}

bool PlayerController::OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) {
    switch (message) {
        case WM_TY_CODECPROGRESS:
        case WM_TY_CODECDONE:
        case GraphNotify:
        case Mp3Progress:
        case WM_VP_MP3DONE:
            break;
        default:
            return false;
    }
    if (closed_)
        return true;
    if (busy_ > 0) {
        deferred_.push_back({message, wParam, lParam});
        return true;
    }
    Busy busy(*this);
    switch (message) {
        case WM_TY_CODECPROGRESS:
            OnDecodeProgress(wParam);
            break;
        case WM_TY_CODECDONE:
            OnDecodeDone(wParam);
            break;
        case GraphNotify:
            OnGraphNotify();
            break;
        case Mp3Progress:
            OnMp3Progress(wParam, lParam);
            break;
        case WM_VP_MP3DONE:
            OnMp3Done(static_cast<int>(lParam));
            break;
    }
    return true;
}

void PlayerController::OnTimer(int id) {
    if (id != PositionTimer || busy_ > 0 || closed_)
        return;
    Busy busy(*this);
    std::int64_t current = 0;
    if (Failed(graph_.GetCurrentPosition(&current)))
        return;
    const int position =
        duration_ ? static_cast<int>(static_cast<double>(current) * 100.0 / duration_) : 0;
    view_.SetSliderPosition(IDC_POSITION, position);
    UpdateTime(current);
}

void PlayerController::OnDecodeProgress(vt::WPARAM serial) {
    if (serial != currentSerial_)
        return;  // a run that was given up
    // One step per message, not to the value carried.
    view_.SetSliderPosition(IDC_POSITION, view_.SliderPosition(IDC_POSITION) + 1);
}

void PlayerController::OnDecodeDone(vt::WPARAM serial) {
    if (serial != currentSerial_) {
        ReapRun(serial);
        return;
    }
    auto it = std::find_if(runs_.begin(), runs_.end(),
                           [&](const auto& r) { return r->Serial() == serial; });
    const int result = it == runs_.end() ? kDecodeCannotCreate : (*it)->Result();
    if (it != runs_.end()) {
        (*it)->Join();
        runs_.erase(it);
    }
    currentSerial_ = 0;
    if (result != kDecodeOk) {
        // Nothing usable was decoded: say so rather than play a broken file.
        DeleteOwned(decodedFile_);
        decodedFile_.clear();
        view_.SetLabelText(IDC_STATUS, vt::Translate("vanplay", DecodeResultLabel(result)));
        view_.SetSliderPosition(IDC_POSITION, 0);
        view_.ShowControl(IDC_STOP, false);
        ShowPlaying(false);
        return;
    }
    PlayDecoded();
}

void PlayerController::ReapRun(vt::WPARAM serial) {
    auto it = std::find_if(runs_.begin(), runs_.end(),
                           [&](const auto& r) { return r->Serial() == serial; });
    if (it == runs_.end())
        return;
    (*it)->Join();
    DeleteOwned((*it)->Job().destination);
    runs_.erase(it);
}

void PlayerController::OnGraphNotify() {
    long code = 0;
    vt::LPARAM p1 = 0, p2 = 0;
    while (Succeeded(graph_.GetEvent(&code, &p1, &p2, 0))) {
        graph_.FreeEventParams(code, p1, p2);
        if (code == media::EC_COMPLETE || code == media::EC_ERRORABORT) {
            Stop();
            break;
        }
    }
}

void PlayerController::OnMp3Progress(vt::WPARAM done, vt::LPARAM total) {
    view_.SetLabelText(IDC_STATUS, Mp3ProgressText(done, total));
}

void PlayerController::OnMp3Done(int result) {
    if (!export_)
        return;
    export_->Join();
    export_.reset();
    for (const auto& path : deleteAfterExport_) DeleteOwned(path);
    deleteAfterExport_.clear();
    if (result != 0)
        view_.SetLabelText(
            IDC_STATUS, vt::Translate("vanplay", QT_TRANSLATE_NOOP("vanplay", "  MP3 변환 실패")));
    // Shown again unless another recording is being decoded meanwhile.
    view_.ShowControl(IDC_MP3, !Decoding());
}

void PlayerController::ReleaseGraph() {
    graph_.SetNotifyWindow(nullptr, 0, 0);
    timers_.Stop(PositionTimer);
    StopGraph();
    ApplyVolume();
    graph_.Release();
    state_ = PlayState::Stopped;
}

void PlayerController::RebuildGraph() {
    ReleaseGraph();
    graphReady_ = Succeeded(graph_.Create());
}

media::HRESULT PlayerController::Render(const std::string& path) {
    if (!graph_.IsCreated())
        return media::E_NOINTERFACE;
    const media::HRESULT hr = graph_.RenderFile(path);
    if (Failed(hr))
        return hr;
    return graph_.SetNotifyWindow(&window_, GraphNotify, 0);
}

media::HRESULT PlayerController::RunGraph() {
    const media::HRESULT hr = graph_.Run();
    if (Succeeded(hr))
        state_ = PlayState::Running;
    return hr;
}

void PlayerController::PauseGraph() {
    if (state_ == PlayState::Running && Succeeded(graph_.Pause()))
        state_ = PlayState::Paused;
}

void PlayerController::StopGraph() {
    if (state_ != PlayState::Stopped && Succeeded(graph_.Stop()))
        state_ = PlayState::Stopped;
}

void PlayerController::ReadDuration() {
    view_.SetSliderPosition(IDC_POSITION, 0);
    view_.EnableControl(IDC_POSITION, false);
    duration_ = 0;
    if (Succeeded(graph_.GetDuration(&duration_)))
        view_.EnableControl(IDC_POSITION, true);
    else
        duration_ = 0;
}

void PlayerController::ApplyVolume() {
    graph_.put_Volume(-view_.SliderPosition(IDC_VOLUME));
}

void PlayerController::UpdateTime(std::int64_t position) {
    if (position == 0 && Failed(graph_.GetCurrentPosition(&position)))
        return;
    view_.SetLabelText(IDC_TIME, TimeText(position));
}

void PlayerController::ShowPlaying(bool playing) {
    view_.ShowControl(IDC_PLAY, !playing);
    view_.ShowControl(IDC_PAUSE, playing);
}

void PlayerController::DiscardDecoded() {
    if (decodedFile_.empty())
        return;
    if (Decoding()) {
        // The run still writes it: give the run up; its file goes when it ends.
        for (auto& run : runs_)
            if (run->Serial() == currentSerial_)
                run->Cancel();
        currentSerial_ = 0;
    } else if (export_ && export_->Source() == decodedFile_) {
        deleteAfterExport_.push_back(decodedFile_);
    } else {
        DeleteOwned(decodedFile_);
    }
    decodedFile_.clear();
}

void PlayerController::DeleteOwned(const std::string& path) {
    if (path.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

void PlayerController::Close() {
    if (closed_)
        return;
    closed_ = true;
    deferred_.clear();
    for (auto& run : runs_) run->Cancel();
    for (auto& run : runs_) {
        run->Join();
        if (run->Job().destination != decodedFile_)
            DeleteOwned(run->Job().destination);
    }
    runs_.clear();
    currentSerial_ = 0;
    if (export_)
        export_->Join();
    export_.reset();
    for (const auto& path : deleteAfterExport_) DeleteOwned(path);
    deleteAfterExport_.clear();
    DeleteOwned(decodedFile_);
    decodedFile_.clear();
    if (state_ != PlayState::Stopped)
        graph_.Stop();
    state_ = PlayState::Stopped;
    timers_.Stop(PositionTimer);
    graph_.SetNotifyWindow(nullptr, 0, 0);
    graph_.Release();
}

}  // namespace vanplay
