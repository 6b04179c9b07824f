#pragma once
// The record layout of a compressed recording (".vrc"): no header, one
// record after another. The top three bits of a record's first byte give
// its kind and length; every record stands for one 20 ms frame of 8 kHz
// audio except the silence run, which stands for c + 1 silent frames.

#include <cstddef>
#include <cstdint>

namespace speechcodec {

inline constexpr std::size_t kFrameSamples = 160;
inline constexpr std::size_t kFrameBytes = 320;       // PCM16 per frame
inline constexpr std::size_t kFrameBufferBytes = 24;  // the largest record
inline constexpr std::uint32_t kFramesPerSecond = 50;
// The longest run a single run record written by us holds: the largest
// count the run layout can express for every value, (0xFF - 0xE0) * 10 + 9.
inline constexpr std::uint32_t kMaxRunFrames = 320;

enum class RecordKind : std::uint8_t {
    Coded11,       // codec2 3200 bit/s
    Coded18,       // Opus SILK 7200 bit/s
    Coded24,       // Opus SILK 9600 bit/s
    ComfortNoise,  // 4 bytes
    SilenceRun,    // 2 bytes
};

// The canonical first byte our encoder writes for each kind.
inline constexpr std::uint8_t kKindByte11 = 0x00;
inline constexpr std::uint8_t kKindByte18 = 0x40;
inline constexpr std::uint8_t kKindByte24 = 0x80;
inline constexpr std::uint8_t kKindByteNoise = 0xC0;
inline constexpr std::uint8_t kKindByteRun = 0xE0;

RecordKind KindOf(std::uint8_t firstByte);
// 11, 18, 24, 4 or 2.
std::size_t RecordLength(std::uint8_t firstByte);
std::size_t RecordLength(RecordKind kind);
// Frames a run record stands for: (byte0 - 0xE0) * 10 + byte1 + 1 (1..566).
// byte0 must be a run's first byte (0xE0..0xFF).
std::uint32_t SilenceRunFrames(std::uint8_t byte0, std::uint8_t byte1);
// The run record for n frames, 1 <= n <= kMaxRunFrames: 0xE0, n - 1 up to
// 256 frames, else (HSB(n - 1) - 0x20) mod 256, LSB(n - 1). Returns false
// (writing nothing) for n outside that range.
bool WriteSilenceRun(std::uint32_t frames, std::uint8_t out[2]);

}  // namespace speechcodec
