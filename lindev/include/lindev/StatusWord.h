#pragma once
// Layout of the adapter's 16-bit line status word.

#include <cstdint>

namespace lindev::status {

inline constexpr std::uint16_t kRing = 0x0001;
inline constexpr std::uint16_t kCallerIdBits = 0x0006;  // both set: a caller-ID message waits
inline constexpr std::uint16_t kArs = 0x0008;
inline constexpr std::uint16_t kOffHook = 0x0010;
inline constexpr std::uint16_t kPlaying = 0x0020;
inline constexpr std::uint16_t kRecording = 0x0040;
inline constexpr std::uint16_t kReverse = 0x0080;
inline constexpr std::uint16_t kTone = 0x0100;
inline constexpr std::uint16_t kDtmfStrobe = 0x0200;
inline constexpr std::uint16_t kDialling = 0x0400;
inline constexpr int kDigitShift = 12;  // bits 12-15: DTMF digit code

// The word read when the adapter cannot be read.
inline constexpr std::uint16_t kUnreadable = 0xFFFF;

}  // namespace lindev::status
