#pragma once
// The call log's playback of a logged recording, on the window thread: to
// the PC's speakers through the media graph (position timer 55 moving the
// slider, the graph's completion event stopping it), or to the adapter's
// handset or line through the line library's positioned wave-out (its
// progress moving the slider). A compressed recording is first decoded by
// the line library into "tmpPlay.wav" in the application folder; the main
// window reports the end of decoding, and the decoded file then plays.

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "media/MediaGraph.h"
#include "platform/TimerHost.h"
#include "vantelo/core/CallRecord.h"
#include "vantelo/pages/PlaybackHost.h"
#include "widgets/QtMessageWindow.h"

namespace vantelo::pages {

using vt::media::PlayState;

class CallLogPlayer : public QObject, public vt::TimerSink {
    Q_OBJECT
public:
    static constexpr int kPositionTimer = 55;
    static constexpr unsigned kPositionMs = 500;
    // The graph's notification message (WM_APP + 1).
    static constexpr vt::UINT kGraphNotify = 0x8000 + 1;
    static constexpr const char* kDecodedName = "tmpPlay.wav";

    static constexpr const char* kRecordingText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "Recording중입니다.");
    static constexpr const char* kAlreadyPlayingText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "이미 재생중입니다.");
    static constexpr const char* kAbsenceText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "부재중 설정시는 재생이 되지 않습니다.");
    static constexpr const char* kBadFileText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "재생할 파일 정보가 올바르지 않습니다.");
    static constexpr const char* kDecodeFailedText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "녹음 파일을 변환하지 못했습니다.");
    static constexpr const char* kCannotPlayText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "녹음 파일을 재생할 수 없습니다.");
    static constexpr const char* kDeviceBusyText =
        QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer",
                          "지금은 장치로 재생할 수 없습니다. 잠시 후 다시 시도해 주세요.");

    // The page's playback controls: the Play/Pause button 1036, the output
    // switch 1141 and the position slider 1178 (range 0-100). An empty tool
    // tip leaves the control's tool tip as it is.
    class Controls {
    public:
        enum class PlayLook { Play, Pause, Decoding };
        virtual ~Controls() = default;
        virtual void ShowPlayLook(PlayLook look, const QString& toolTip) = 0;
        virtual void ShowOutputLook(bool speaker, const QString& toolTip) = 0;
        virtual int SliderPosition() const = 0;
        virtual void SetSliderPosition(int position) = 0;
        virtual void EnableSlider(bool enable) = 0;
    };

    CallLogPlayer(PlaybackHost& host, Controls& controls, QObject* parent = nullptr);
    // Stops any playback and releases the graph.
    ~CallLogPlayer() override;

    // Makes the media graph and selects the speaker output; false when the
    // graph cannot be made (the device output stays selected). Done once: by
    // the page when it first shows, else by the first playback or output
    // switch (loading the sound back end is no part of the window's start).
    bool Setup();
    // The position timer's host; the player's own Qt timers unless given
    // (tests hand in a manual clock, whose ticks go to OnTimer).
    void UseTimers(vt::TimerHost& timers) { timers_ = &timers; }

    // Button 1036 with the selected call (none when no row is selected).
    void PlayButton(const std::optional<CallRecord>& selected);
    // Starts playing a call's recording (also the double-click on "녹음").
    void Start(const std::optional<CallRecord>& call);
    // Button 1037, a row change, and the main window's needs.
    void Stop();
    // Button 1141.
    void OutputButton();

    // The main window's reports: decoding finished (true) or failed, and
    // the bytes a device playback has sent so far.
    void DecodingDone(bool succeeded);
    void PlayProgress(long bytes);

    PlayState State() const { return state_; }
    bool Decoding() const { return decoding_; }
    bool SpeakerOutput() const { return speaker_; }
    // The file being played (the decoded file for a compressed recording).
    const std::string& Path() const { return path_; }
    vt::media::MediaGraph& Graph() { return graph_; }

    void OnTimer(int id) override;

protected:
    bool event(QEvent* event) override;

private:
    void PlayFile();
    void PlayOnSpeaker();
    void PlayOnDevice();
    void Pause();
    void Resume();
    void StartDecoding();
    void OnGraphEvents();
    void ShowRunning();
    // Back to Stopped with the play look when a playback could not start.
    void NotStarted(const char* text);

    PlaybackHost& host_;
    Controls& controls_;
    vt::widgets::QtMessageWindow messages_;
    std::unique_ptr<vt::TimerHost> ownTimers_;
    vt::TimerHost* timers_ = nullptr;
    vt::media::MediaGraph graph_;
    PlayState state_ = PlayState::Stopped;
    bool setUp_ = false;
    bool speaker_ = false;
    bool decoding_ = false;
    bool resumedOnce_ = false;
    std::string path_;
    std::string recording_;      // the call's recording being played
    std::int64_t length_ = 0;    // bytes of the file on the device output
    std::int64_t duration_ = 0;  // media units of the speaker playback
};

}  // namespace vantelo::pages
