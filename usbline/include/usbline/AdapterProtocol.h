#pragma once
// The adapter's protocol as both sides speak it: the vendor request codes,
// the 16-bit line status word and the records of the recording stream. The
// line library that sends the requests and the simulated adapter that
// answers them both take their numbers from here, so they cannot drift
// apart.

#include <cstddef>
#include <cstdint>

namespace usbline::protocol {

// Vendor request codes (bRequest of the setup record).
enum class Request : std::uint8_t {
    StartRecord = 0x56,
    StopRecord = 0x57,
    StartPlayback = 0x58,
    HookOn = 0x59,
    HookOff = 0x60,
    ReadCallerId = 0x61,
    SendDtmf = 0x62,
    DiallerReady = 0x67,
    ReadArsKeys = 0x69,
    VolumeStep = 0x74,
    PollArsKeys = 0x75,
    StartArsPrompt = 0x76,
    EndArsRepetition = 0x77,
    AnnounceFirmware = 0x79,
    Flash = 0x7A,
    ToggleMute = 0x7B,
    HeadsetMode = 0x7C,
    ReadVersions = 0x7E,
    ReadManualDtmf = 0x7F,
    TestHardware = 0x80,
    ArsLed = 0x81,
    Hold = 0x82,
    Serial = 0x84,
    HeadsetLocation = 0x85,
    PlayVolume = 0x86,
    HeadsetDisconnect = 0x87,
};

constexpr std::uint8_t Code(Request request) {
    return static_cast<std::uint8_t>(request);
}

// The line status word (the low half of the status read).
namespace status {
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
}  // namespace status

// The key a DTMF digit code (bits 12-15) stands for: 0-9 the digits, 10
// the star, 11 the zero, 12 the hash key; 0 for a code with no fixed key.
constexpr char KeyOfDigitCode(int code) {
    if (code >= 0 && code <= 9)
        return static_cast<char>('0' + code);
    switch (code) {
        case 10:
            return '*';
        case 11:
            return '0';
        case 12:
            return '#';
        default:
            return 0;
    }
}
static_assert(KeyOfDigitCode(11) == '0' && KeyOfDigitCode(12) == '#' && KeyOfDigitCode(13) == 0);

// The reply of ReadCallerId.
inline constexpr std::size_t kCallerIdReplySize = 26;
// The reply of ReadManualDtmf: a count, then the keys pressed on the phone.
inline constexpr std::size_t kManualDtmfReplySize = 64;

// The recording stream: 64-byte records of up to 60 payload bytes, written
// in order into a ring of 4000 records.
inline constexpr std::size_t kRecordSize = 64;
inline constexpr std::size_t kRecordPayload = 60;
inline constexpr std::size_t kRingRecords = 4000;
inline constexpr std::size_t kRingBytes = kRingRecords * kRecordSize;
static_assert(kRingBytes == 256000, "the recording ring is 256000 bytes");
static_assert(kRecordPayload + 4 == kRecordSize, "a record is a 4-byte head and its payload");

}  // namespace usbline::protocol
