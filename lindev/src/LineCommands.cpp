#include "LineCommands.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Protocol.h"
#include "platform/Tick.h"

namespace lindev {

namespace {

constexpr std::uint32_t kHookOffBlockers = status::kPlaying | status::kRecording |
                                           status::kDialling;                  // 0x460
constexpr std::uint32_t kDspBlockers = status::kOffHook | status::kPlaying | status::kRecording;
constexpr std::uint32_t kTelBlockers = status::kPlaying | status::kRecording;
constexpr int kDtmfOnTimeCut = 40;    // ms taken off the tone time of a single digit
constexpr int kDefaultFlashMs = 600;
constexpr unsigned kVolumeStepPauseMs = 100;
constexpr std::size_t kMaxRedialNumber = 48;
constexpr std::size_t kManualDtmfSize = usbline::protocol::kManualDtmfReplySize;
constexpr int kVolumeCodeMax = 80;  // level 0
constexpr int kVolumeLevels = 28;

}  // namespace

int LineCommands::SendCode(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    switch (c) {
        case ':':
        case '*': return 10;
        case '#': return 11;
        case 'A': return 12;
        case 'B': return 13;
        case 'C': return 14;
        case 'D': return 15;
        default: return -1;
    }
}

char LineCommands::DigitChar(int code) {
    switch (code) {
        case 10: return '*';
        case 11: return '0';
        case 12: return '#';
        default: return static_cast<char>('0' + (code & 0x0F));
    }
}

int LineCommands::HookOff(bool clearRedial) {
    device_.Log("OFF_HOOK().");
    if (!device_.IsOpen()) return 0;
    const std::uint32_t status = device_.ReadStatus();
    if (status & kHookOffBlockers) return 0;
    if (GetHeadsetLoc() == 2) return 0;
    if (status & status::kOffHook) return 1;  // already holds the line
    if (!device_.Transport().Vendor_Read(Request::HookOff, 0, 0, 0, nullptr)) return 0;
    if (clearRedial) {
        device_.Redial().extensionText.clear();
        device_.Redial().numberText.clear();
    }
    return 1;
}

int LineCommands::HookOn() {
    device_.Log("ON_HOOK().");
    if (!device_.IsOpen()) return 0;
    const std::uint32_t status = device_.ReadStatus();
    if (status & status::kDialling) return 0;
    if (!(status & status::kOffHook)) return 1;  // already on-hook
    return device_.Transport().Vendor_Read(Request::HookOn, 0, 0, 0, nullptr) ? 1 : 0;
}

bool LineCommands::DiallerReady(bool* failed) {
    std::uint8_t ready = 0;
    *failed = !device_.Transport().Vendor_Read(Request::DiallerReady, 0, 0, 1, &ready);
    return !*failed && ready == 0xFF;
}

int LineCommands::SendDtmf(const std::string& digits, int onTime, int offTime) {
    device_.Log("Generate_DTMF() DTMF=" + digits);
    if (!device_.IsOpen()) return kNotOpen;
    // Converted first, so a character without a code sends nothing at all.
    std::vector<std::uint8_t> codes;
    for (char c : digits) {
        const int code = SendCode(c);
        if (code < 0) return kBadArgument;
        codes.push_back(static_cast<std::uint8_t>(code));
    }
    bool failed = false;
    if (!DiallerReady(&failed)) return failed ? 0 : kBusyOrAlready;
    onTime = std::clamp(onTime, 0, 0xFFFF);
    offTime = std::clamp(offTime, 0, 0xFFFF);
    if (!device_.Transport().Vendor_Write(Request::SendDtmf, static_cast<std::uint16_t>(onTime),
                                          static_cast<std::uint16_t>(offTime),
                                          static_cast<std::uint16_t>(codes.size()), codes.data()))
        return 0;
    // Return once the adapter has played the tones.
    vt::SleepMs(static_cast<unsigned>(codes.size()) * static_cast<unsigned>(onTime + offTime));
    return kDone;
}

int LineCommands::SendNumber(char digit, int toneTime, int toneLevel) {
    if (!(device_.ReadStatus() & status::kOffHook)) return 0;
    // A tone time under 40 ms gives no tone rather than a negative one.
    const int onTime = std::max(toneTime - kDtmfOnTimeCut, 0);
    if (SendDtmf(std::string(1, digit), onTime, 0) != kDone) return 0;
    CLineDevice::RedialState& redial = device_.Redial();
    redial.toneTime = toneTime;
    redial.toneLevel = toneLevel;
    if (redial.numberText.size() < kMaxRedialNumber) redial.numberText += digit;
    return 1;
}

int LineCommands::SendFlash(int flashTime) {
    device_.Log("Flash().");
    if (!device_.IsOpen()) return 0;
    bool failed = false;
    if (!DiallerReady(&failed)) return 0;
    auto ms = static_cast<std::uint16_t>(flashTime & 0xFFFF);
    if (ms == 0) ms = kDefaultFlashMs;
    return device_.Transport().Vendor_Read(Request::Flash, ms, 0, 0, nullptr) ? 1 : 0;
}

int LineCommands::VolumeControl(bool up) {
    if (!up && device_.HwVersion() <= 2 &&
        (device_.Recording() || device_.Playing() || device_.ArsRunning()))
        return 0;
    const std::uint16_t value = up ? 1 : 2;
    CTyCtiInstance& t = device_.Transport();
    t.Vendor_Read(Request::VolumeStep, value, 3, 0, nullptr);
    vt::SleepMs(kVolumeStepPauseMs);
    return t.Vendor_Read(Request::VolumeStep, value, 4, 0, nullptr) ? 1 : 0;
}

int LineCommands::ToggleMute() {
    device_.Log("ToggleMute().");
    if (!device_.IsOpen() || device_.HwVersion() < 2) return 0;
    return device_.Transport().Vendor_Read(Request::ToggleMute, 0, 0, 0, nullptr) ? 1 : 0;
}

int LineCommands::SetHeadSet(int mode) {
    const bool dsp = mode == 2;
    if (!dsp && mode != 1) return 0;
    device_.Log(dsp ? "HeadSet().DSP mode." : "HeadSet().TEL mode.");
    if (!device_.IsOpen() || device_.HwVersion() < 3) return 0;
    const std::uint32_t status = device_.ReadStatus();
    if (status & (dsp ? kDspBlockers : kTelBlockers)) return 0;
    return device_.Transport().Vendor_Read(Request::HeadsetMode, dsp ? 1 : 0, 0, 0, nullptr) ? 1
                                                                                               : 0;
}

int LineCommands::DisconHeadset(bool disconnect) {
    device_.Log(disconnect ? "HeadSet().Disconnecting" : "DisConnected HeadSet() Release..");
    if (disconnect && GetHeadsetLoc() == 2) return 0;
    if (device_.HwVersion() < 5 || device_.FwVersion() < 3) return 255;
    return device_.Transport().Vendor_Read(Request::HeadsetDisconnect, disconnect ? 1 : 0, 0, 0,
                                           nullptr)
               ? 1
               : 0;
}

int LineCommands::GetHeadsetLoc() {
    std::uint8_t location = 0;
    if (!device_.Transport().Vendor_Read(Request::HeadsetLocation, 0, 0, 1, &location)) return 0;
    return location;
}

int LineCommands::SetHold(bool hold) {
    device_.Log(hold ? "SetHold(). Set" : "SetHold(). Release");
    return device_.Transport().Vendor_Read(Request::Hold, hold ? 1 : 0, 0, 0, nullptr) ? 1 : 0;
}

int LineCommands::SetArsComm(bool ledOn) {
    device_.Log(ledOn ? "ARSComm(). LED ON" : "ARSComm(). LED OFF");
    return device_.Transport().Vendor_Read(Request::ArsLed, ledOn ? 1 : 0, 0, 0, nullptr) ? 1 : 0;
}

std::string LineCommands::GetManualDtmf() {
    char buffer[kManualDtmfSize] = {};
    std::uint8_t reply[kManualDtmfSize] = {};
    std::string digits;
    if (device_.Transport().Vendor_Read(Request::ReadManualDtmf, 0, 0, sizeof reply, reply)) {
        // The count byte never makes the read run past the reply.
        const std::size_t n = std::min<std::size_t>(reply[0], kManualDtmfSize - 1);
        for (std::size_t i = 1; i <= n; ++i) digits += DigitChar(reply[i]);
        buffer[0] = static_cast<char>(n);
        std::memcpy(buffer + 1, digits.data(), n);
    }
    device_.Log("GetManualDTMF() DTMF=" + digits);
    return std::string(buffer, ::strnlen(buffer, sizeof buffer));
}

int LineCommands::SetSerial(std::uint32_t serial) {
    device_.Log("SetSerial().");
    std::uint8_t data[4] = {static_cast<std::uint8_t>(serial), static_cast<std::uint8_t>(serial >> 8),
                            static_cast<std::uint8_t>(serial >> 16),
                            static_cast<std::uint8_t>(serial >> 24)};
    return device_.Transport().Vendor_Write(Request::Serial, 1, 0, sizeof data, data) ? 1 : 0;
}

std::uint32_t LineCommands::GetSerial() {
    device_.Log("GetSerial().");
    std::uint8_t data[4] = {};
    if (!device_.Transport().Vendor_Read(Request::Serial, 0, 0, sizeof data, data)) return 0;
    return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

int LineCommands::GetCurrentPlayVolume() {
    std::uint8_t code = 0;
    if (!device_.Transport().Vendor_Read(Request::PlayVolume, 0, 0, 1, &code)) return 255;
    if (code < kVolumeCodeMax - kVolumeLevels || code > kVolumeCodeMax) return 255;
    return kVolumeCodeMax - code;
}

int LineCommands::SetCurrentPlayVolume(int level) {
    const int code = (level >= 0 && level <= kVolumeLevels) ? kVolumeCodeMax - level : 0;
    std::uint8_t ignored = 0;
    return device_.Transport().Vendor_Read(Request::PlayVolume, 1,
                                           static_cast<std::uint16_t>(code), 1, &ignored)
               ? 1
               : 0;
}

int LineCommands::TestHw() {
    return device_.Transport().Vendor_Write(Request::TestHardware, 0, 0, 0, nullptr) ? 1 : 0;
}

}  // namespace lindev
