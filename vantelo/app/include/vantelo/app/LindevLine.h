#pragma once
// The phone's line over liblindev: every call goes to the TY_* export of
// the same name on slot 0.

#include "vantelo/core/PhoneLine.h"

namespace vantelo {

class LindevLine : public PhoneLine {
public:
    int InitializeAllDevice() override;
    std::string AdapterProblem() override;
    int OpenDeviceByIndex(int logFlag) override;
    int StartService(vt::HWND window) override;
    int StopService() override;
    int CloseDeviceByIndex() override;
    unsigned GetTYplusState() override;
    int IsLineBusy() override;
    int HookOff() override;
    int HookOn() override;
    int SendNumber(char digit, int toneTime, int toneLevel) override;
    int SendFlash(int flashTime) override;
    int AutoDialThread(const char* number, int useExtension, const char* extension, int delay,
                       int onTime, int offTime, int level) override;
    int VolumeControl(int up) override;
    int ToggleMute() override;
    int SetHeadSet(int mode) override;
    int GetHeadsetLoc() override;
    int SetARSComm(int ledOn) override;
    std::string GetCIDData() override;
    int StartRecord(const std::string& path, int recordFlag, int recordType) override;
    int StopRecord() override;
    int WatchRecord(int silenceMs) override;
    bool GetRecordAudio(RecordedAudio& audio) override;
    int WaveOut(const std::string& path, int synchronous, int raw) override;
    int StopWaveOut() override;
    int WaveOutSub(const std::string& path, int offset, int raw) override;
    int PauseWaveOut() override;
    int Decoder1(const std::string& source, const std::string& target, int volume,
                 int progressScale) override;
    void Pause(unsigned ms) override;
};

}  // namespace vantelo
