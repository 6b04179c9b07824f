#pragma once
// Test WAV files: 8 kHz mono speech-like sound as 16-bit PCM or G.711
// mu-law, written with the 44-byte header the recorders write.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vt::test {

// `ms` milliseconds of a voiced, speech-like signal (a few harmonics with
// a slow syllable envelope) at 8000 Hz.
std::vector<std::int16_t> SpeechLikeSamples(unsigned ms, unsigned sampleRate = 8000);

// Writes a 16-bit PCM mono WAV; false on a write failure.
bool WritePcmWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
                 unsigned sampleRate = 8000);

// Writes an 8-bit mu-law (format 7) mono WAV at 8000 Hz.
bool WriteMuLawWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples);

// ITU-T G.711 mu-law encoding of one sample.
std::uint8_t MuLawEncode(std::int16_t sample);

// Reads a whole file into bytes (empty when it cannot be read).
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);

struct WavInfo {
    unsigned format = 0;  // 1 PCM, 7 mu-law
    unsigned channels = 0;
    unsigned sampleRate = 0;
    unsigned bitsPerSample = 0;
    std::uint32_t dataBytes = 0;  // as the header says
    std::uint32_t riffLength = 0;
    std::uintmax_t fileBytes = 0;
};

// Reads a 44-byte WAV header; nullopt when the file is not one.
std::optional<WavInfo> ReadWavInfo(const std::filesystem::path& file);

// Decodes an MP3 with an independent decoder (the lame command line tool)
// into `wavOut` and returns that WAV's header; nullopt if it failed.
std::optional<WavInfo> DecodeMp3WithLame(const std::filesystem::path& mp3,
                                         const std::filesystem::path& wavOut);

// Milliseconds of sound a WAV header describes.
double DurationMs(const WavInfo& info);

}  // namespace vt::test
