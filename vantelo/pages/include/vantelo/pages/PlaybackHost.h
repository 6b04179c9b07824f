#pragma once
// What the call log's playback needs of the phone window behind it: the
// line, the window's recording, playing and absence flags, the playback
// indicator, the status line, the window's log and the application folder.
// The phone binding implements it over the phone controller.

#include <filesystem>
#include <string>

#include "vantelo/core/PhoneLine.h"

namespace vantelo::pages {

class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;

    virtual PhoneLine& Line() = 0;
    virtual bool IsRecording() const = 0;
    virtual bool IsPlaying() const = 0;
    virtual bool IsAbsenceMode() const = 0;
    // The window's playing flag (the line's audio is taken).
    virtual void SetPlaying(bool playing) = 0;
    // The playback indicator: bitmap 234 while playing, 242 otherwise.
    virtual void ShowPlaying(bool playing) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // One line of the window's log.
    virtual void WriteLog(const std::string& line) = 0;
    virtual std::filesystem::path ApplicationFolder() const = 0;
    // A call's recording began to play (the file as the call log names it,
    // not its decoded copy): a message played is a message heard.
    virtual void RecordingPlayed(const std::string& /*file*/) {}
};

}  // namespace vantelo::pages
