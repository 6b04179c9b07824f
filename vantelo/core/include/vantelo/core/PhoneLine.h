#pragma once
// What the phone logic calls on the line library, slot 0 implied: one
// method per TY_* export it uses, with the export's arguments and result,
// plus the short blocking pauses the logic makes between commands. The
// program implements it over liblindev; tests script it.

#include <string>

#include "platform/MessageWindow.h"

namespace vantelo {

// What the line library heard in a recording's audio (see lindev's
// TY_RECORDAUDIO): bytes of sound in the file after any header, times in
// audio milliseconds.
struct RecordedAudio {
    unsigned dataBytes = 0;
    unsigned audioMs = 0;
    unsigned silenceMs = 0;  // since the last sound
    unsigned keepBytes = 0;  // the last sound and a short tail; 0 when none
    unsigned keepMs = 0;
    bool busyTone = false;   // the far end hung up
    unsigned busyBytes = 0;  // where that tone began
    unsigned busyMs = 0;
};

class PhoneLine {
public:
    virtual ~PhoneLine() = default;

    virtual int InitializeAllDevice() = 0;
    // Why an adapter that is present could not be taken (refused, no
    // permission, in use): one line saying what to do; empty otherwise.
    virtual std::string AdapterProblem() { return {}; }
    virtual int OpenDeviceByIndex(int logFlag) = 0;
    virtual int StartService(vt::HWND window) = 0;
    virtual int StopService() = 0;
    virtual int CloseDeviceByIndex() = 0;

    virtual unsigned GetTYplusState() = 0;
    virtual int IsLineBusy() = 0;
    virtual int HookOff() = 0;
    virtual int HookOn() = 0;
    virtual int SendNumber(char digit, int toneTime, int toneLevel) = 0;
    virtual int SendFlash(int flashTime) = 0;
    virtual int AutoDialThread(const char* number, int useExtension, const char* extension,
                               int delay, int onTime, int offTime, int level) = 0;
    virtual int VolumeControl(int up) = 0;
    virtual int ToggleMute() = 0;
    virtual int SetHeadSet(int mode) = 0;
    virtual int GetHeadsetLoc() = 0;
    virtual int SetARSComm(int ledOn) = 0;
    // The caller-ID record as bytes (empty when none).
    virtual std::string GetCIDData() = 0;

    virtual int StartRecord(const std::string& path, int recordFlag, int recordType) = 0;
    virtual int StopRecord() = 0;
    // Watches the next recording: WM_TY_RECORDWATCH after silenceMs of
    // silence (never when 0) and when the busy tone is heard.
    virtual int WatchRecord(int silenceMs) = 0;
    // The running or last recording's audio; false when the library cannot tell.
    virtual bool GetRecordAudio(RecordedAudio& audio) = 0;
    virtual int WaveOut(const std::string& path, int synchronous, int raw) = 0;
    virtual int StopWaveOut() = 0;
    // The call log's playback: from a byte offset of a WAV file, paused and
    // resumed; and a compressed recording decoded into a mu-law WAV file
    // (the end is posted as WM_TY_CODECDONE).
    virtual int WaveOutSub(const std::string& path, int offset, int raw) = 0;
    virtual int PauseWaveOut() = 0;
    virtual int Decoder1(const std::string& source, const std::string& target, int volume,
                         int progressScale) = 0;

    // The pauses of the logic (30, 50, 100 ms, the flash delay) block the
    // caller, as they block the window's thread.
    virtual void Pause(unsigned ms) = 0;
};

}  // namespace vantelo
