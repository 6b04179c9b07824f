#pragma once
// The window messages the line library posts (WM_USER + n): the numbers a
// program needs to understand the line without calling the library.

#include "platform/MessageWindow.h"

// Messages posted to the target window (WM_USER + n).
inline constexpr vt::UINT WM_TY_RINGDETECTED = vt::WM_USER + 10;   // lParam 0
inline constexpr vt::UINT WM_TY_RINGEND = vt::WM_USER + 11;        // lParam ring end time (ms)
inline constexpr vt::UINT WM_TY_CIDREDAY = vt::WM_USER + 12;       // lParam 0
inline constexpr vt::UINT WM_TY_DEVICEREMOVED = vt::WM_USER + 13;  // lParam 0
inline constexpr vt::UINT WM_TY_CODECPROGRESS = vt::WM_USER + 14;  // lParam progress
inline constexpr vt::UINT WM_TY_CODECDONE = vt::WM_USER + 15;      // lParam 0 ok, 1, 2
inline constexpr vt::UINT WM_TY_LINENOTIFY = vt::WM_USER + 16;     // lParam 1 off-hook, 0 on-hook
inline constexpr vt::UINT WM_TY_THREADNOTIFY = vt::WM_USER + 17;   // lParam 0, 1, 2, 5
inline constexpr vt::UINT WM_TY_RECEIVE = vt::WM_USER + 18;        // lParam 0
inline constexpr vt::UINT WM_TY_BUSY1 = vt::WM_USER + 19;          // lParam 0
inline constexpr vt::UINT WM_TY_RECORDDATA = vt::WM_USER + 20;     // lParam chunk address
inline constexpr vt::UINT WM_TY_REVERSETONE = vt::WM_USER + 22;    // lParam 1 set, 0 cleared
inline constexpr vt::UINT WM_TY_GETARS = vt::WM_USER + 23;         // lParam 1 set, 0 cleared
inline constexpr vt::UINT WM_TY_DIALTONE = vt::WM_USER + 24;       // lParam 0
inline constexpr vt::UINT WM_TY_RINGBACKTONE = vt::WM_USER + 25;   // lParam 0
inline constexpr vt::UINT WM_TY_GETDTMF = vt::WM_USER + 26;        // lParam digit code 0..15
inline constexpr vt::UINT WM_TY_PLAYPROGRESS = vt::WM_USER + 27;   // lParam bytes sent
inline constexpr vt::UINT WM_TY_TONELENGTH = vt::WM_USER + 28;     // lParam burst length (polls)
inline constexpr vt::UINT WM_TY_BUSY2 = vt::WM_USER + 29;          // lParam 0
inline constexpr vt::UINT WM_TY_AUTODIALDONE = vt::WM_USER + 30;   // lParam 1 dialled, 255 failed
inline constexpr vt::UINT WM_EX_EXT_DTMF = vt::WM_USER + 31;       // lParam digit code 0..15
// A watched recording's audio (TY_WatchRecord): lParam kRecordWatchSilence
// when its silence reached the watched length, kRecordWatchBusy when the
// busy tone was heard (the far end hung up). Each at most once a recording.
inline constexpr vt::UINT WM_TY_RECORDWATCH = vt::WM_USER + 32;
inline constexpr vt::LPARAM kRecordWatchSilence = 1;
inline constexpr vt::LPARAM kRecordWatchBusy = 2;

static_assert(WM_TY_RINGDETECTED == 0x40A && WM_TY_RECORDDATA == 0x414);
static_assert(WM_TY_REVERSETONE == 0x416 && WM_EX_EXT_DTMF == 0x41F);
