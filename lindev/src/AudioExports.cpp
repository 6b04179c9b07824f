// Exports of automatic dialling, recording, playback, ARS and the firmware
// download.

#include <string>

#include "SlotAccess.h"
#include "Protocol.h"
#include "lindev/lindev.h"
#include "platform/Tick.h"

using lindev::AutoDialer;
using lindev::CLineDevice;
using lindev::OnSlot;

namespace {

constexpr unsigned kStartPauseMs = 50;
// A recording or an ARS run is refused while the adapter plays, records or dials.
constexpr std::uint32_t kBusyBits =
    lindev::status::kPlaying | lindev::status::kRecording | lindev::status::kDialling;

AutoDialer::Request DialRequest(const char* number, int useExtension, const char* extension,
                                int delay, int onTime, int offTime, int level) {
    AutoDialer::Request r;
    r.number = number ? number : "";
    r.useExtension = useExtension != 0;
    r.extension = extension ? extension : "";
    r.delay = delay;
    r.onTime = onTime;
    r.offTime = offTime;
    r.level = level;
    return r;
}

// The 50 ms pause and status check that open a recording or an ARS run.
bool LineFree(CLineDevice& d) {
    vt::SleepMs(kStartPauseMs);
    return (d.ReadStatus() & kBusyBits) == 0;
}

}  // namespace

extern "C" {

int TY_AutoDial(const char* number, int useExtension, const char* extension, int delay,
                int onTime, int offTime, int level, int slot) {
    const AutoDialer::Request r =
        DialRequest(number, useExtension, extension, delay, onTime, offTime, level);
    return OnSlot(slot, -1, [&](CLineDevice& d) { return d.Dialer().Dial(r) ? slot : -1; });
}

int TY_AutoDialThread(const char* number, int useExtension, const char* extension, int delay,
                      int onTime, int offTime, int level, int slot) {
    const AutoDialer::Request r =
        DialRequest(number, useExtension, extension, delay, onTime, offTime, level);
    return OnSlot(slot, 0, [&](CLineDevice& d) { return d.Dialer().DialOnThread(r); });
}

int TY_SendRedial(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.Dialer().Redial(); });
}

int TY_StartRecord(const char* path, int recordFlag, int recordType, int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        if (!LineFree(d)) return 0;
        const int mode = lindev::RecordingEngine::ModeForType(recordType);
        return d.Recorder().Start(path, recordFlag, mode) == lindev::kDone ? 1 : 0;
    });
}

int TY_StopRecord(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.Recorder().Stop() == lindev::kDone ? 1 : 0; });
}

int TY_WatchRecord(int silenceMs, int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        d.Recorder().Watch(silenceMs);
        return 1;
    });
}

int TY_GetRecordAudio(TY_RECORDAUDIO* audio, int slot) {
    if (!audio)
        return 0;
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        *audio = d.Recorder().Audio();
        return 1;
    });
}

int TY_WaveOut(const char* path, int synchronous, int raw, int slot) {
    return OnSlot(slot, 0,
                  [&](CLineDevice& d) { return d.Player().WaveOut(path, synchronous != 0, raw != 0); });
}

int TY_WaveOutSub(const char* path, int offset, int /*unused*/, int raw, int slot) {
    return OnSlot(slot, 0,
                  [&](CLineDevice& d) { return d.Player().WaveOutSub(path, offset, raw != 0); });
}

int TY_StopWaveOut(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.Player().Stop() == lindev::kDone ? 1 : 0; });
}

int TY_PauseWaveOut(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) {
        if (!(d.ReadStatus() & lindev::status::kPlaying)) return 0;
        return d.Player().Pause() == lindev::kDone ? 1 : 0;
    });
}

int TY_SetARS(const char* promptFile, int keyCount, char terminator, int repetitions, int waitMs,
              int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        if (!LineFree(d)) return 0;
        return d.Ars().Start(promptFile, keyCount, terminator, repetitions, waitMs);
    });
}

BSTR TY_GetARS(int slot) {
    CLineDevice* d = lindev::DeviceTable::Instance().Slot(slot);
    std::string keys;
    if (!d || !d->Ars().Keys(&keys)) return nullptr;
    return SysAllocStringByteLen(keys.data(), static_cast<unsigned>(keys.size()));
}

unsigned char TY_FirmwareUpdate(const char* path, int slot) {
    return OnSlot(slot, static_cast<unsigned char>(0),
                  [&](CLineDevice& d) { return d.Ars().FirmwareUpdate(path); });
}

}  // extern "C"
