#pragma once
// The recording player's logic, apart from painting: the open / decode /
// play / pause / stop / seek state machine, the position timer, the time
// display, the decoding runs and the MP3 export. It runs on the window
// thread; its window hands it button presses, slider notifications, timer
// ticks and posted messages.
//
// Files: a compressed recording is decoded into a file the player creates
// itself (ClaimDecodedFile), and only such files are ever deleted.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/MediaGraph.h"
#include "platform/MessageWindow.h"
#include "platform/TimerHost.h"
#include "vanplay/DecodeRun.h"
#include "vanplay/Mp3ExportRun.h"
#include "vanplay/PlayerView.h"

namespace vanplay {

using vt::media::PlayState;

class PlayerController : public vt::TimerSink {
public:
    PlayerController(PlayerView& view, vt::MessageWindow& window, vt::TimerHost& timers);
    ~PlayerController() override;
    PlayerController(const PlayerController&) = delete;
    PlayerController& operator=(const PlayerController&) = delete;

    // Creates the media graph, sets up the sliders and opens `file` if given.
    // False when the graph cannot be made (the window still opens).
    bool Start(const std::string& file);

    // Opens a file chosen in the dialog (or again the loaded one).
    void OpenFile(const std::string& path);
    // The play and pause buttons.
    void PlayPause();
    // The stop button (the open button also stops before its dialog).
    void Stop();
    // A position-slider notification made by the user.
    void OnPositionScroll(int position, bool ended);
    // Any volume-slider notification.
    void OnVolumeNotify();
    // The MP3 button.
    void ExportMp3();

    // Posted messages; false for a message that is not the player's.
    bool OnMessage(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam);
    void OnTimer(int id) override;

    // Told the file opened (the recording, not its decoded copy) each time it
    // begins to play from its start.
    void SetOnPlaying(std::function<void(const std::string& file)> onPlaying) {
        onPlaying_ = std::move(onPlaying);
    }

    // The window closes: runs stopped, decoded files deleted, graph released.
    void Close();

    PlayState State() const { return state_; }
    const std::string& CurrentFile() const { return currentFile_; }
    const std::string& DecodedFile() const { return decodedFile_; }
    bool Decoding() const { return currentSerial_ != 0; }
    // The serial number (wParam) of the current decoding run; 0 when none.
    vt::WPARAM DecodingSerial() const { return currentSerial_; }
    bool Exporting() const { return export_ != nullptr; }
    std::int64_t Duration() const { return duration_; }
    vt::media::MediaGraph& Graph() { return graph_; }

    // "    %.2dm : %.2ds" for a position in 100 ns units.
    static std::string TimeText(std::int64_t position);
    // "Convert Mp3 : %0.2f%%" for done of total (0.00% when total is 0).
    static std::string Mp3ProgressText(vt::WPARAM done, vt::LPARAM total);

private:
    class Busy;

    void ContinueOpen();
    void OpenUncompressed();
    void StartDecoding();
    void PlayDecoded();
    void OnDecodeProgress(vt::WPARAM serial);
    void OnDecodeDone(vt::WPARAM serial);
    void OnGraphNotify();
    void OnMp3Progress(vt::WPARAM done, vt::LPARAM total);
    void OnMp3Done(int result);

    // The media-graph operations, each changing PlayState only on success.
    void ReleaseGraph();
    void RebuildGraph();
    vt::media::HRESULT Render(const std::string& path);
    vt::media::HRESULT RunGraph();
    void PauseGraph();
    void StopGraph();
    void ReadDuration();
    void ApplyVolume();
    void UpdateTime(std::int64_t position);
    void ShowPlaying(bool playing);

    // Gives up the decoded file: deleted now, or when the run writing it or
    // the export reading it has ended.
    void DiscardDecoded();
    void DeleteOwned(const std::string& path);
    void ReapRun(vt::WPARAM serial);

    PlayerView& view_;
    vt::MessageWindow& window_;
    vt::TimerHost& timers_;
    vt::media::MediaGraph graph_;
    bool graphReady_ = false;

    std::string currentFile_;
    std::function<void(const std::string&)> onPlaying_;
    std::string decodedFile_;
    PlayState state_ = PlayState::Stopped;
    std::int64_t duration_ = 0;
    bool seekDrag_ = true;
    PlayState savedState_ = PlayState::Stopped;

    std::vector<std::unique_ptr<DecodeRun>> runs_;  // the current one and given-up ones
    vt::WPARAM currentSerial_ = 0;
    vt::WPARAM nextSerial_ = 1;
    std::unique_ptr<Mp3ExportRun> export_;
    std::vector<std::string> deleteAfterExport_;

    // Media-graph waits run the event loop: messages that arrive meanwhile
    // are handled once the operation in progress has ended.
    int busy_ = 0;
    struct Deferred {
        vt::UINT message;
        vt::WPARAM wParam;
        vt::LPARAM lParam;
    };
    std::deque<Deferred> deferred_;
    bool closed_ = false;
};

}  // namespace vanplay
