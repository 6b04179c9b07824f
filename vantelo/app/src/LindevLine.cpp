#include "vantelo/app/LindevLine.h"

#include "lindev/lindev.h"
#include "platform/Tick.h"
#include "usbline/UsbAdapters.h"

namespace vantelo {

namespace {
constexpr int kSlot = 0;
}

int LindevLine::InitializeAllDevice() {
    return TY_InitializeAllDevice();
}
std::string LindevLine::AdapterProblem() {
    return usbline::AdapterProblem();
}
int LindevLine::OpenDeviceByIndex(int logFlag) {
    return TY_OpenDeviceByIndex(kSlot, logFlag);
}
int LindevLine::StartService(vt::HWND window) {
    return TY_StartService(window, kSlot);
}
int LindevLine::StopService() {
    return TY_StopService(kSlot);
}
int LindevLine::CloseDeviceByIndex() {
    return TY_CloseDeviceByIndex(kSlot);
}
unsigned LindevLine::GetTYplusState() {
    return TY_GetTYplusState(kSlot);
}
int LindevLine::IsLineBusy() {
    return TY_IsLineBusy(kSlot);
}
int LindevLine::HookOff() {
    return TY_HookOff(kSlot);
}
int LindevLine::HookOn() {
    return TY_HookOn(kSlot);
}
int LindevLine::SendNumber(char digit, int toneTime, int toneLevel) {
    return TY_SendNumber(digit, toneTime, toneLevel, kSlot);
}
int LindevLine::SendFlash(int flashTime) {
    return TY_SendFlash(flashTime, kSlot);
}
int LindevLine::AutoDialThread(const char* number, int useExtension, const char* extension,
                               int delay, int onTime, int offTime, int level) {
    return TY_AutoDialThread(number, useExtension, extension, delay, onTime, offTime, level, kSlot);
}
int LindevLine::VolumeControl(int up) {
    return TY_VolumeControl(up, kSlot);
}
int LindevLine::ToggleMute() {
    return TY_ToggleMute(kSlot);
}
int LindevLine::SetHeadSet(int mode) {
    return TY_SetHeadSet(mode, kSlot);
}
int LindevLine::GetHeadsetLoc() {
    return TY_GetHeadsetLoc(kSlot);
}
int LindevLine::SetARSComm(int ledOn) {
    return TY_SetARSComm(ledOn, kSlot);
}

std::string LindevLine::GetCIDData() {
    BSTR data = TY_GetCIDData(kSlot);
    std::string text = data ? std::string(data, SysStringByteLen(data)) : std::string();
    SysFreeString(data);
    return text;
}

int LindevLine::StartRecord(const std::string& path, int recordFlag, int recordType) {
    return TY_StartRecord(path.c_str(), recordFlag, recordType, kSlot);
}
int LindevLine::StopRecord() {
    return TY_StopRecord(kSlot);
}
int LindevLine::WatchRecord(int silenceMs) {
    return TY_WatchRecord(silenceMs, kSlot);
}
bool LindevLine::GetRecordAudio(RecordedAudio& audio) {
    TY_RECORDAUDIO a{};
    if (TY_GetRecordAudio(&a, kSlot) != 1)
        return false;
    audio.dataBytes = a.dataBytes;
    audio.audioMs = a.audioMs;
    audio.silenceMs = a.silenceMs;
    audio.keepBytes = a.keepBytes;
    audio.keepMs = a.keepMs;
    audio.busyTone = a.busyTone != 0;
    audio.busyBytes = a.busyBytes;
    audio.busyMs = a.busyMs;
    return true;
}
int LindevLine::WaveOut(const std::string& path, int synchronous, int raw) {
    return TY_WaveOut(path.c_str(), synchronous, raw, kSlot);
}
int LindevLine::StopWaveOut() {
    return TY_StopWaveOut(kSlot);
}
int LindevLine::WaveOutSub(const std::string& path, int offset, int raw) {
    return TY_WaveOutSub(path.c_str(), offset, 0, raw, kSlot);
}
int LindevLine::PauseWaveOut() {
    return TY_PauseWaveOut(kSlot);
}
int LindevLine::Decoder1(const std::string& source, const std::string& target, int volume,
                         int progressScale) {
    return TY_Decoder1(source.c_str(), target.c_str(), volume, progressScale, kSlot);
}
void LindevLine::Pause(unsigned ms) {
    vt::SleepMs(ms);
}

}  // namespace vantelo
