#pragma once
// liblindev: the line device library. The application drives up to eight
// adapters (slots 0..7) through these plain C functions and hears about the
// line only through messages posted to the window it hands to
// TY_StartService (wParam = the slot's device id).
//
// Results: most exports return 1 for success and 0 for failure; a slot index
// outside 0..7 always gives the export's failure value. String results are
// BSTRs owned by the caller (free them with SysFreeString).
//
// Exports marked "later" are declared here so callers compile against the
// whole surface; liblindev does not define them yet.

#include "platform/MessageWindow.h"
#include "platform/SysString.h"

#include "lindev/Messages.h"

#if defined(LINDEV_BUILDING)
#define LINDEV_API __attribute__((visibility("default")))
#else
#define LINDEV_API
#endif

extern "C" {

// --- Device table and library frame ---------------------------------------

// Rescans the adapters present; the number found and openable (0..8).
LINDEV_API int TY_InitializeAllDevice(void);
// 1 opened (or already open), 0 failed. logFlag enables the diagnostic log.
LINDEV_API int TY_OpenDeviceByIndex(int slot, int logFlag);
// 1, or 0 if the close failed.
LINDEV_API int TY_CloseDeviceByIndex(int slot);
// Number of slots opened / closed.
LINDEV_API int TY_OpenAllDevice(void);
LINDEV_API int TY_CloseAllDevice(void);
// The slot, or -1.
LINDEV_API int TY_StartService(vt::HWND window, int slot);
// The slot (-1 for a slot index outside the table).
LINDEV_API int TY_StopService(int slot);
// Number of services started / stopped.
LINDEV_API int TY_StartServiceAllDevice(vt::HWND window);
LINDEV_API int TY_StopServiceAllDevice(void);
// Version bytes read at open (0 before the first open).
LINDEV_API int TY_GetHW_Version(int slot);
LINDEV_API int TY_GetFW_Version(int slot);

// --- Line event engine -----------------------------------------------------

// The line status word (bit 9 forced on while automatic dialling runs);
// 0xFFFFFFFF when the adapter cannot be read.
LINDEV_API unsigned int TY_GetTYplusState(int slot);
// Line tone state 0..6: idle, off-hook, dial tone, ring-back, busy 1,
// busy 2, receive.
LINDEV_API int TY_GetToneState(int slot);
// 1 if the adapter holds the line.
LINDEV_API int TY_IsLineBusy(int slot);
// Caller-ID record: 4 date chars (MMDD), 4 time chars (hhmm), the number
// length byte, the number. Empty when no date was received.
LINDEV_API BSTR TY_GetCIDData(int slot);
// Ten tone-cadence thresholds in polls of 30 ms; 1.
LINDEV_API int TY_SetToneTime(int busy1Low, int busy1High, int busy1Count, int busy2Low,
                              int busy2High, int busy2Count, int dialTone, int receiveSilence,
                              int ringBackLow, int ringBackHigh, int slot);
// 1, or 0 (nothing changed) when ms is below 5700.
LINDEV_API int TY_SetRingEndTime(int ms, int slot);

// --- Line commands ---------------------------------------------------------

LINDEV_API int TY_HookOff(int slot);
LINDEV_API int TY_HookOn(int slot);
// Sends one DTMF digit ("0"-"9", "*", "#", ":", "A"-"D") for toneTime - 40 ms;
// needs the line off-hook.
LINDEV_API int TY_SendNumber(char digit, int toneTime, int toneLevel, int slot);
// Hook flash of flashTime ms (600 when its low 16 bits are 0).
LINDEV_API int TY_SendFlash(int flashTime, int slot);
LINDEV_API int TY_VolumeControl(int up, int slot);
LINDEV_API int TY_ToggleMute(int slot);
// mode 2 DSP, mode 1 TEL.
LINDEV_API int TY_SetHeadSet(int mode, int slot);
// 1 done, 0 refused or failed, 255 unsupported by the adapter.
LINDEV_API unsigned char TY_DisconHeadset(int disconnect, int slot);
// Headset location 1 or 2; 0 if the request fails.
LINDEV_API int TY_GetHeadsetLoc(int slot);
LINDEV_API int TY_SetHold(int hold, int slot);
LINDEV_API int TY_SetARSComm(int ledOn, int slot);
// Digits dialled on the phone: the count byte, then the characters.
LINDEV_API BSTR TY_GetManualDTMF(int slot);
LINDEV_API int TY_SetSerial(unsigned int serial, int slot);
// The serial number; 0 if the request fails.
LINDEV_API unsigned int TY_GetSerial(int slot);
// Level 0..28; 255 on failure.
LINDEV_API unsigned char TY_GetCurrentPlayVolume(int slot);
LINDEV_API int TY_SetCurrentPlayVolume(int level, int slot);
LINDEV_API int TY_TestHW(int slot);

// --- Automatic dialling and redial (later) ---------------------------------

LINDEV_API int TY_AutoDial(const char* number, int useExtension, const char* extension,
                           int delay, int onTime, int offTime, int level, int slot);
LINDEV_API int TY_AutoDialThread(const char* number, int useExtension, const char* extension,
                                 int delay, int onTime, int offTime, int level, int slot);
LINDEV_API int TY_SendRedial(int slot);

// --- Recording (later) -----------------------------------------------------

LINDEV_API int TY_StartRecord(const char* path, int recordFlag, int recordType, int slot);
LINDEV_API int TY_StopRecord(int slot);

// What the audio of a recording holds, judged while it is written: for the
// running recording, and after its end for the last one (until the next
// start). Bytes count the audio in the file (after the 44-byte header of a
// mode-0 file); times are audio time, in steps of 20 ms.
struct TY_RECORDAUDIO {
    int recording;           // 1 while it runs
    int mode;                // record mode 0..3
    unsigned int dataBytes;  // audio judged so far
    unsigned int audioMs;
    unsigned int silenceMs;  // since the end of the last sound (all of it when none)
    // Where a message that ends now ends: its last sound and a short tail,
    // never into a busy tone; 0 when nothing was heard.
    unsigned int keepBytes;
    unsigned int keepMs;
    int busyTone;            // 1 once the exchange's busy tone was heard
    unsigned int busyBytes;  // where that tone began
    unsigned int busyMs;
};

// Watches the next recording started on the slot: WM_TY_RECORDWATCH when
// silenceMs of silence have passed (never when 0) and when the busy tone is
// heard. 1, or 0 for a slot outside the table.
LINDEV_API int TY_WatchRecord(int silenceMs, int slot);
// 1 and *audio filled, or 0 (a slot outside the table, a null pointer).
LINDEV_API int TY_GetRecordAudio(TY_RECORDAUDIO* audio, int slot);

// --- Playback (later) ------------------------------------------------------

LINDEV_API int TY_WaveOut(const char* path, int synchronous, int raw, int slot);
LINDEV_API int TY_WaveOutSub(const char* path, int offset, int unused, int raw, int slot);
LINDEV_API int TY_StopWaveOut(int slot);
LINDEV_API int TY_PauseWaveOut(int slot);

// --- Codec conversions (later) ---------------------------------------------

LINDEV_API int TY_Encoder(const char* source, const char* destination, int volume, int rate,
                          int silence, int progressScale, int slot);
LINDEV_API int TY_Decoder(const char* source, const char* destination, int volume,
                          int progressScale, int slot);
LINDEV_API int TY_Decoder1(const char* source, const char* destination, int volume,
                           int progressScale, int slot);

// --- ARS prompt-and-collect and firmware download (later) ------------------

LINDEV_API int TY_SetARS(const char* promptFile, int keyCount, char terminator, int repetitions,
                         int waitMs, int slot);
LINDEV_API BSTR TY_GetARS(int slot);
LINDEV_API unsigned char TY_FirmwareUpdate(const char* path, int slot);

}  // extern "C"
