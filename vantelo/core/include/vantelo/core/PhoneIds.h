#pragma once
// The numbers and texts of the main window that the phone logic drives:
// control ids, indicator bitmaps, button looks, timer ids and status texts.

#include <cstddef>

#include "usbline/AdapterProtocol.h"
#include "platform/TranslateNoop.h"

namespace vantelo {

// Controls.
inline constexpr int kStatusLine = 1114;
inline constexpr int kNumberDisplay = 1068;
inline constexpr int kMemoBox = 1057;
inline constexpr int kHookButton = 1058;
inline constexpr int kRedialButton = 1059;
inline constexpr int kFlashButton = 1060;
inline constexpr int kPlayButton = 1062;
inline constexpr int kRecordButton = 1063;
inline constexpr int kReceiveButton = 1065;
inline constexpr int kSaveMemoButton = 1066;
inline constexpr int kMuteButton = 1146;
inline constexpr int kArsButton = 1170;

// Indicator pictures and their bitmaps.
inline constexpr int kHookPicture = 1171;
inline constexpr int kMachinePicture = 1172;
inline constexpr int kRecordPicture = 1173;
inline constexpr int kPlayPicture = 1174;
inline constexpr int kBitmapRecording = 230;
inline constexpr int kBitmapEngaged = 231;
inline constexpr int kBitmapOffHook = 233;
inline constexpr int kBitmapPlaying = 234;
inline constexpr int kBitmapRecordStopped = 239;
inline constexpr int kBitmapMachineIdle = 240;
inline constexpr int kBitmapOnHook = 241;
inline constexpr int kBitmapPlayStopped = 242;

// Window timers.
inline constexpr int kTimerDeviceRetry = 2;
inline constexpr int kTimerAutoAnswer = 3;
inline constexpr int kTimerMessageLimit = 5;
inline constexpr int kTimerDialRecord = 10;
inline constexpr int kTimerCallerTimeOut = 33;
// The call journal's sign of life while a call runs.
inline constexpr int kTimerJournal = 44;
// A ring without a caller-ID message by the second ring: an unknown caller.
inline constexpr int kTimerUnknownCaller = 45;
// Another program (the player, vtdb) may mark messages heard: the count of
// new messages is looked at again this often, when the database changed.
inline constexpr int kTimerMessages = 46;

inline constexpr unsigned kRetryFirstMs = 500;
inline constexpr unsigned kRetryLaterMs = 2000;
inline constexpr unsigned kDialRecordDelayMs = 5000;
inline constexpr unsigned kHoldAfterPrompt2Ms = 15000;
inline constexpr unsigned kJournalAliveMs = 5000;
// From the detected first ring to the second (a ring of 1 s every 3 s).
inline constexpr unsigned kSecondRingMs = 3000;
inline constexpr unsigned kMessagesLookMs = 2000;

// Status word bits of TY_GetTYplusState, as the adapter protocol lays them.
inline constexpr unsigned kStateArsLamp = usbline::protocol::status::kArs;
inline constexpr unsigned kStateOffHook = usbline::protocol::status::kOffHook;
inline constexpr unsigned kStatePlaying = usbline::protocol::status::kPlaying;
inline constexpr unsigned kStateRecording = usbline::protocol::status::kRecording;
inline constexpr unsigned kStateAutoDial = usbline::protocol::status::kDialling;
inline constexpr unsigned kStateGone = usbline::protocol::status::kUnreadable;

// The ring pop-up's click, posted by the window to itself (an application
// message number, clear of the line library's WM_USER range).
inline constexpr unsigned kWindowMessageBase = 0x8000;
inline constexpr unsigned kPopupClicked = kWindowMessageBase + 0x32;

// A dialled number must fit the 50-byte number buffer with its NUL.
inline constexpr std::size_t kNumberBufferSize = 50;
// The longest number the line's dialler takes: one limit for the keypad,
// requests of other programs and links.
inline constexpr std::size_t kMaxDialledNumber = 48;

// Texts of the status line and the message boxes, in the system's words;
// the window and the headless program show them translated.
namespace text {
// The catalogs' context of these texts.
inline constexpr const char* kContext = "vantelo::text";
inline constexpr const char* kAlreadyRunning =
    QT_TRANSLATE_NOOP("vantelo::text", "이미 프로그램이 실행중입니다.");
inline constexpr const char* kDeviceConnected =
    QT_TRANSLATE_NOOP("vantelo::text", "장치가 연결되었습니다.");
inline constexpr const char* kDeviceRemoved =
    QT_TRANSLATE_NOOP("vantelo::text", "Vantelo Removed!!");
inline constexpr const char* kExitWhileBusy =
    QT_TRANSLATE_NOOP("vantelo::text", "전화를 사용중입니다.\n\n프로그램을 종료하시겠습니까?");
inline constexpr const char* kRinging = QT_TRANSLATE_NOOP("vantelo::text", "전화가 왔습니다.");
inline constexpr const char* kInCall = QT_TRANSLATE_NOOP("vantelo::text", "통화 상태입니다.");
inline constexpr const char* kConnected =
    QT_TRANSLATE_NOOP("vantelo::text", "통화가 연결되었습니다.");
inline constexpr const char* kDisconnected =
    QT_TRANSLATE_NOOP("vantelo::text", "연결이 끊어졌습니다.");
inline constexpr const char* kFarEndBusy =
    QT_TRANSLATE_NOOP("vantelo::text", "상대방이 통화중입니다.");
inline constexpr const char* kDialFailed =
    QT_TRANSLATE_NOOP("vantelo::text", "전화 걸기에 실패했습니다.");
inline constexpr const char* kPlaying = QT_TRANSLATE_NOOP("vantelo::text", "재생중입니다.");
inline constexpr const char* kRecording = QT_TRANSLATE_NOOP("vantelo::text", "녹음중입니다.");
inline constexpr const char* kPlayNoDevice =
    QT_TRANSLATE_NOOP("vantelo::text", "장치가 제거되었습니다.");
inline constexpr const char* kPlayOnlyInCall =
    QT_TRANSLATE_NOOP("vantelo::text", "통화중에만 재생이 가능합니다.");
inline constexpr const char* kPlayAutoDial =
    QT_TRANSLATE_NOOP("vantelo::text", "AutoDial중입니다. 다시 시도 해주십시요.");
inline constexpr const char* kPlayRecording =
    QT_TRANSLATE_NOOP("vantelo::text", "Recording중입니다.");
inline constexpr const char* kAbsenceOnRefusal =
    QT_TRANSLATE_NOOP("vantelo::text", "부재중 설정을 해제해 주세요.");
inline constexpr const char* kAbsenceNotSet =
    QT_TRANSLATE_NOOP("vantelo::text", "환경설정에 부재중 설정이 되어 있지 않습니다.");
inline constexpr const char* kAbsenceNoFile =
    QT_TRANSLATE_NOOP("vantelo::text", "환경설정에 부재중 설정파일이 없습니다.");
inline constexpr const char* kGreetingPlaying =
    QT_TRANSLATE_NOOP("vantelo::text", "안내멘트를 재생중입니다.");
inline constexpr const char* kPlayFileMissing =
    QT_TRANSLATE_NOOP("vantelo::text", "재생할 파일을 찾을 수 없습니다.");
inline constexpr const char* kCallLogFailed =
    QT_TRANSLATE_NOOP("vantelo::text", "통화 기록을 저장하지 못했습니다.");
inline constexpr const char* kNumberTooLong = QT_TRANSLATE_NOOP("vantelo::text", "number too long");
inline constexpr const char* kCallRecovered =
    QT_TRANSLATE_NOOP("vantelo::text", "중단된 통화를 통화 기록에 남겼습니다.");
// The shared store went away (calls are kept on this desk meanwhile), and came back.
inline constexpr const char* kSharedStoreAway =
    QT_TRANSLATE_NOOP("vantelo::text", "공유 저장소에 연결할 수 없습니다");
inline constexpr const char* kSharedStoreBack =
    QT_TRANSLATE_NOOP("vantelo::text", "공유 저장소에 다시 연결되었습니다");
inline constexpr const char* kRecordingsUnnamed =
    QT_TRANSLATE_NOOP("vantelo::text", "통화 기록에 없는 녹음 파일이 있습니다.");
}  // namespace text

}  // namespace vantelo
