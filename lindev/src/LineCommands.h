#pragma once
// The simple line commands of one slot: each is one or two vendor requests
// guarded by the open flag, the status word and the adapter's versions.
// "Refused" means nothing is sent. Runs on the caller's thread.

#include <cstdint>
#include <string>

#include "CLineDevice.h"

namespace lindev {

class LineCommands {
public:
    explicit LineCommands(CLineDevice& device) : device_(device) {}

    // `clearRedial`: a successful hook-off clears both redial texts.
    int HookOff(bool clearRedial = true);
    int HookOn();
    int SendNumber(char digit, int toneTime, int toneLevel);
    // Sends n characters as DTMF: 1 done, 0 request failed, 2 dialler busy,
    // 3 a character without a code, 255 not open. Blocks for the tones.
    int SendDtmf(const std::string& digits, int onTime, int offTime);
    int SendFlash(int flashTime);
    int VolumeControl(bool up);
    int ToggleMute();
    int SetHeadSet(int mode);
    int DisconHeadset(bool disconnect);
    int GetHeadsetLoc();
    int SetHold(bool hold);
    int SetArsComm(bool ledOn);
    // The count byte, then the characters (empty when there are none).
    std::string GetManualDtmf();
    int SetSerial(std::uint32_t serial);
    std::uint32_t GetSerial();
    int GetCurrentPlayVolume();
    int SetCurrentPlayVolume(int level);
    int TestHw();

    // The DTMF send code of a character, -1 for none.
    static int SendCode(char c);
    // The character of a received or dialled digit code.
    static char DigitChar(int code);

private:
    // Request 0x67: true when the dialler answers ready (0xFF); sets
    // `failed` when the request itself failed.
    bool DiallerReady(bool* failed);

    CLineDevice& device_;
};

}  // namespace lindev
