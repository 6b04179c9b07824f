#pragma once
// The adapter's vendor request codes.

#include <cstdint>

namespace lindev::request {

inline constexpr std::uint8_t kStartRecord = 0x56;
inline constexpr std::uint8_t kStopRecord = 0x57;
inline constexpr std::uint8_t kStartPlayback = 0x58;
inline constexpr std::uint8_t kHookOn = 0x59;
inline constexpr std::uint8_t kHookOff = 0x60;
inline constexpr std::uint8_t kReadCallerId = 0x61;
inline constexpr std::uint8_t kSendDtmf = 0x62;
inline constexpr std::uint8_t kDiallerReady = 0x67;
inline constexpr std::uint8_t kReadArsKeys = 0x69;
inline constexpr std::uint8_t kVolumeStep = 0x74;
inline constexpr std::uint8_t kPollArsKeys = 0x75;
inline constexpr std::uint8_t kStartArsPrompt = 0x76;
inline constexpr std::uint8_t kEndArsRepetition = 0x77;
inline constexpr std::uint8_t kAnnounceFirmware = 0x79;
inline constexpr std::uint8_t kFlash = 0x7A;
inline constexpr std::uint8_t kToggleMute = 0x7B;
inline constexpr std::uint8_t kHeadsetMode = 0x7C;
inline constexpr std::uint8_t kReadVersions = 0x7E;
inline constexpr std::uint8_t kReadManualDtmf = 0x7F;
inline constexpr std::uint8_t kTestHardware = 0x80;
inline constexpr std::uint8_t kArsLed = 0x81;
inline constexpr std::uint8_t kHold = 0x82;
inline constexpr std::uint8_t kSerial = 0x84;
inline constexpr std::uint8_t kHeadsetLocation = 0x85;
inline constexpr std::uint8_t kPlayVolume = 0x86;
inline constexpr std::uint8_t kHeadsetDisconnect = 0x87;

}  // namespace lindev::request
