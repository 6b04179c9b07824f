#pragma once
// Reads the sound data of a WAV file as 16-bit samples, chunk by chunk.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vt::mp3 {

class WavSource {
public:
    enum class OpenResult { Ok, CannotOpen, NotWav };

    WavSource() = default;
    ~WavSource();
    WavSource(const WavSource&) = delete;
    WavSource& operator=(const WavSource&) = delete;

    OpenResult Open(const std::string& path);

    unsigned SampleRate() const { return sampleRate_; }
    unsigned Channels() const { return channels_; }
    // Bytes of sound data (whole sample frames only).
    std::uint64_t DataBytes() const { return dataBytes_; }
    std::uint64_t BytesRead() const { return bytesRead_; }

    // Appends up to `frames` sample frames (interleaved when stereo) to
    // `out`. Returns the frames read: 0 at the end; -1 on a read error.
    long Read(std::size_t frames, std::vector<std::int16_t>& out);

private:
    bool ParseChunks(std::uint64_t fileSize);

    std::FILE* file_ = nullptr;
    unsigned format_ = 0;  // 1 PCM, 7 mu-law
    unsigned channels_ = 0;
    unsigned sampleRate_ = 0;
    unsigned bitsPerSample_ = 0;
    unsigned blockAlign_ = 0;
    std::uint64_t dataBytes_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// G.711 mu-law byte to a 16-bit sample.
std::int16_t MuLawDecode(std::uint8_t code);

}  // namespace vt::mp3
