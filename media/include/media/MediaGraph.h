#pragma once
// The media graph: plays one sound file on the PC's sound output with the
// operations the player and the call log page use (render, run, pause, stop,
// state, duration, position, seek, completion event, volume).
//
// It lives on the window thread, which must run a Qt event loop (a
// QCoreApplication or QApplication exists). Times are in 100 ns units,
// volume in hundredths of a decibel. Calls on a graph that was not created
// (or was released) fail with E_NOINTERFACE, as calls through an empty
// interface would.

#include <cstdint>
#include <memory>
#include <string>

#include "media/MediaResult.h"
#include "media/PlayState.h"
#include "platform/MessageWindow.h"

namespace vt::media {

class MediaGraph {
public:
    MediaGraph();
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    // Makes the playback objects. Fails when no Qt application exists or the
    // sound back end is not available; nothing is held then.
    HRESULT Create();
    // Drops the notification window and everything rendered. Safe to repeat.
    void Release();
    // Release, then Create.
    HRESULT Rebuild();
    bool IsCreated() const;

    // Opens the file (UTF-8 path) and waits until it can play: S_OK, or
    // VFW_E_NOT_FOUND (missing), VFW_E_UNSUPPORTED_STREAM (not playable),
    // VFW_E_TIMEOUT. User input is not dispatched while it waits.
    HRESULT RenderFile(const std::string& utf8Path);
    bool IsRendered() const;

    // Events are queued for GetEvent; `message` is posted to the window
    // (wParam 0, lParam `param`) whenever one is queued. Null stops posting.
    HRESULT SetNotifyWindow(MessageWindow* window, UINT message, LPARAM param);

    HRESULT Run();
    HRESULT Pause();
    // Stops; the position is kept, as the next Run starts from it.
    HRESULT Stop();
    // Stops once a pending state change has ended.
    HRESULT StopWhenReady();
    // The state asked for last. Waits up to `timeoutMs` for the sound
    // pipeline to reach it; VFW_S_STATE_INTERMEDIATE if it has not yet.
    HRESULT GetState(unsigned timeoutMs, PlayState* state);

    HRESULT GetDuration(std::int64_t* duration);
    HRESULT GetCurrentPosition(std::int64_t* position);
    // Absolute seek of the current position; no stop position.
    HRESULT SetPositions(std::int64_t current);

    // Takes the oldest queued event, waiting up to `timeoutMs`; E_ABORT when
    // none came. Each event taken is handed back with FreeEventParams.
    HRESULT GetEvent(long* code, LPARAM* param1, LPARAM* param2, unsigned timeoutMs);
    HRESULT FreeEventParams(long code, LPARAM param1, LPARAM param2);

    // -10000 (silence) .. 0 (full); E_INVALIDARG outside.
    HRESULT put_Volume(long volume);
    HRESULT get_Volume(long* volume);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// The linear amplitude factor that a volume in hundredths of a decibel
// stands for (1.0 at 0, 0.0 at -10000 and below).
double LinearVolume(long hundredthsDb);

}  // namespace vt::media
