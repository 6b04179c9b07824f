#pragma once
// The player's fixed numbers: control, picture and timer ids and the window
// messages it handles.

#include "mp3conv/Mp3Conv.h"
#include "platform/MessageWindow.h"
#include "platform/TranslateNoop.h"

namespace vanplay {

using vt::UINT;

// Controls.
inline constexpr int IDC_POSITION = 1000;  // position slider / decoding progress
inline constexpr int IDC_VOLUME = 1001;
inline constexpr int IDC_PLAY = 1003;
inline constexpr int IDC_STOP = 1004;
inline constexpr int IDC_CLOSE = 1005;
inline constexpr int IDC_TIME = 1006;
inline constexpr int IDC_MINIMISE = 1007;
inline constexpr int IDC_PAUSE = 1008;
inline constexpr int IDC_STATUS = 1009;
inline constexpr int IDC_OPEN = 1010;
inline constexpr int IDC_MP3 = 1011;

// Pictures.
inline constexpr int IDI_PROGRAM = 128;
inline constexpr int IDB_SKIN = 130;
inline constexpr int IDB_CLOSE = 131, IDB_CLOSE_HOT = 132;
inline constexpr int IDB_MINIMISE = 133, IDB_MINIMISE_HOT = 134;
inline constexpr int IDB_PLAY = 136, IDB_PLAY_HOT = 137;
inline constexpr int IDB_STOP = 138, IDB_STOP_HOT = 139;
inline constexpr int IDB_PAUSE = 140, IDB_PAUSE_HOT = 141;
inline constexpr int IDB_OPEN_HOT = 142, IDB_OPEN = 145;
inline constexpr int IDB_MP3 = 143, IDB_MP3_HOT = 144;

// Messages.
inline constexpr UINT WM_APP = 0x8000;
inline constexpr UINT WM_TY_CODECPROGRESS = vt::WM_USER + 14;
inline constexpr UINT WM_TY_CODECDONE = vt::WM_USER + 15;
inline constexpr UINT GraphNotify = WM_APP + 1;
// Ours: an MP3 export run has returned (lParam: Kvne_WavtoMp3's result).
inline constexpr UINT WM_VP_MP3DONE = WM_APP + 2;
static_assert(Mp3Progress == vt::WM_USER + 1);

inline constexpr int PositionTimer = 55;
inline constexpr unsigned kPositionTimerMs = 500;

inline constexpr std::uint16_t CodecVolume = 1024;
inline constexpr int kProgressScale = 100;
inline constexpr int kVolumeRange = 3000;

// Texts.
inline constexpr const char* kInstanceName = "VRC Player";
inline constexpr const char* kWindowTitle = "VRC Player";
inline constexpr const char* kWarningCaption = "TYcaller_Warning";
inline constexpr const char* kAlreadyRunning =
    QT_TRANSLATE_NOOP("vanplay", "이미 프로그램이 실행중입니다.");
inline constexpr const char* kTimeAtStart = "    00m : 00s";

}  // namespace vanplay
