#pragma once
// A line with no adapter behind it, for the screenshot tool and the
// benchmarks: every command fails as on an unplugged adapter.

#include <string>

#include "vantelo/core/PhoneLine.h"

namespace vantelo::pages {

class IdleLine : public vantelo::PhoneLine {
public:
    int InitializeAllDevice() override { return 0; }
    int OpenDeviceByIndex(int) override { return 0; }
    int StartService(vt::HWND) override { return -1; }
    int StopService() override { return 0; }
    int CloseDeviceByIndex() override { return 0; }
    unsigned GetTYplusState() override { return 0xFFFF; }
    int IsLineBusy() override { return 0; }
    int HookOff() override { return 0; }
    int HookOn() override { return 0; }
    int SendNumber(char, int, int) override { return 0; }
    int SendFlash(int) override { return 0; }
    int AutoDialThread(const char*, int, const char*, int, int, int, int) override { return 0; }
    int VolumeControl(int) override { return 0; }
    int ToggleMute() override { return 0; }
    int SetHeadSet(int) override { return 0; }
    int GetHeadsetLoc() override { return 0; }
    int SetARSComm(int) override { return 0; }
    std::string GetCIDData() override { return {}; }
    int StartRecord(const std::string&, int, int) override { return 0; }
    int StopRecord() override { return 0; }
    int WatchRecord(int) override { return 0; }
    bool GetRecordAudio(vantelo::RecordedAudio&) override { return false; }
    int WaveOut(const std::string&, int, int) override { return 0; }
    int StopWaveOut() override { return 0; }
    int WaveOutSub(const std::string&, int, int) override { return 0; }
    int PauseWaveOut() override { return 0; }
    int Decoder1(const std::string&, const std::string&, int, int) override { return 0; }
    void Pause(unsigned) override {}
};

}  // namespace vantelo::pages
