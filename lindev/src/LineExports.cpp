// Exports of the line event engine and the line commands.

#include <array>
#include <cstdio>
#include <string>

#include "LineCommands.h"
#include "SlotAccess.h"
#include "Protocol.h"
#include "lindev/lindev.h"

using lindev::CLineDevice;
using lindev::LineCommands;
using lindev::OnSlot;

namespace {

BSTR ToBstr(const std::string& text) {
    return SysAllocStringByteLen(text.data(), static_cast<unsigned>(text.size()));
}

template <typename Result, typename Body>
Result Command(int slot, Result failure, Body body) {
    return OnSlot(slot, failure, [&](CLineDevice& d) {
        LineCommands commands(d);
        return body(commands);
    });
}

}  // namespace

extern "C" {

unsigned int TY_GetTYplusState(int slot) {
    return OnSlot(slot, 0xFFFFFFFFu, [](CLineDevice& d) { return d.ReadStatus(); });
}

int TY_GetToneState(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.Engine().ToneStateValue(); });
}

int TY_IsLineBusy(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) {
        if (!(d.ReadStatus() & lindev::status::kOffHook)) return 0;
        return (d.ReadStatus() & 0xFFFF) == lindev::status::kUnreadable ? 0 : 1;
    });
}

BSTR TY_GetCIDData(int slot) {
    CLineDevice* d = lindev::DeviceTable::Instance().Slot(slot);
    return ToBstr(d ? d->CallerId().BuildRecord() : std::string());
}

int TY_SetToneTime(int busy1Low, int busy1High, int busy1Count, int busy2Low, int busy2High,
                   int busy2Count, int dialTone, int receiveSilence, int ringBackLow,
                   int ringBackHigh, int slot) {
    const std::array<int, lindev::kToneTimeCount> times = {
        busy1Low,  busy1High, busy1Count,     busy2Low,    busy2High,
        busy2Count, dialTone, receiveSilence, ringBackLow, ringBackHigh};
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        d.Engine().SetToneTimes(times);
        d.Log("SetToneTime().");
        return 1;
    });
}

int TY_SetRingEndTime(int ms, int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        if (ms < lindev::kDefaultRingEndTime) return 0;
        d.Engine().SetRingEndTime(ms);
        char text[64];
        std::snprintf(text, sizeof text, "SetRingEndTime() RingEndTime=%dms", ms);
        d.Log(text);
        return 1;
    });
}

int TY_HookOff(int slot) {
    return Command(slot, 0, [](LineCommands& c) { return c.HookOff(); });
}

int TY_HookOn(int slot) {
    return Command(slot, 0, [](LineCommands& c) { return c.HookOn(); });
}

int TY_SendNumber(char digit, int toneTime, int toneLevel, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SendNumber(digit, toneTime, toneLevel); });
}

int TY_SendFlash(int flashTime, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SendFlash(flashTime); });
}

int TY_VolumeControl(int up, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.VolumeControl(up != 0); });
}

int TY_ToggleMute(int slot) {
    return Command(slot, 0, [](LineCommands& c) { return c.ToggleMute(); });
}

int TY_SetHeadSet(int mode, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SetHeadSet(mode); });
}

unsigned char TY_DisconHeadset(int disconnect, int slot) {
    return Command(slot, static_cast<unsigned char>(0),
                   [&](LineCommands& c) { return c.DisconHeadset(disconnect != 0); });
}

int TY_GetHeadsetLoc(int slot) {
    return Command(slot, 0, [](LineCommands& c) { return c.GetHeadsetLoc(); });
}

int TY_SetHold(int hold, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SetHold(hold != 0); });
}

int TY_SetARSComm(int ledOn, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SetArsComm(ledOn != 0); });
}

BSTR TY_GetManualDTMF(int slot) {
    CLineDevice* d = lindev::DeviceTable::Instance().Slot(slot);
    return ToBstr(d ? LineCommands(*d).GetManualDtmf() : std::string());
}

int TY_SetSerial(unsigned int serial, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SetSerial(serial); });
}

unsigned int TY_GetSerial(int slot) {
    return Command(slot, 0u, [](LineCommands& c) { return c.GetSerial(); });
}

unsigned char TY_GetCurrentPlayVolume(int slot) {
    return Command(slot, static_cast<unsigned char>(255),
                   [](LineCommands& c) { return c.GetCurrentPlayVolume(); });
}

int TY_SetCurrentPlayVolume(int level, int slot) {
    return Command(slot, 0, [&](LineCommands& c) { return c.SetCurrentPlayVolume(level); });
}

int TY_TestHW(int slot) {
    return Command(slot, 0, [](LineCommands& c) { return c.TestHw(); });
}

}  // extern "C"
