#pragma once
// Playback state shared by the player and the call log page; the numbers are
// the system's own.

namespace vt::media {

enum class PlayState : int { Stopped = 0, Paused = 1, Running = 2 };

}  // namespace vt::media
