#pragma once
// What the adapter does with a playback (or ARS prompt) stream: bulk-out
// data goes into a 512-byte buffer that drains at the real-time rate of its
// format (times the speed factor): WAV data (format 0) at 8000 bytes a
// second, compressed records (format 1) one 20 ms frame at a time (a
// silence run for all its frames). Bulk-out blocks while the buffer is full.
// Not thread-safe (the model's lock guards it).

#include <cstdint>
#include <deque>

namespace linesim {

class PlaybackDrain {
public:
    static constexpr std::uint64_t kBufferBytes = 512;
    // A stream that receives nothing for this long with nothing left to
    // play has been abandoned by the host (stopped, or too short to send).
    static constexpr std::uint64_t kIdleEndMs = 500;

    enum class Format { WavData, Compressed };

    void Start(Format format, std::uint64_t announced, std::uint64_t nowMs);
    void Stop();
    bool Active() const { return active_; }
    Format GetFormat() const { return format_; }

    // Bytes of `data` taken now (limited by the room in the buffer).
    std::uint32_t Accept(const std::uint8_t* data, std::uint32_t length, std::uint64_t nowMs);
    // Plays what is due by now; ends the stream when everything announced
    // has played, or when the host has gone quiet with nothing left.
    void Advance(std::uint64_t nowMs, std::uint32_t speed);

    // Bytes played to the line so far (all streams).
    std::uint64_t Played() const { return played_; }

private:
    bool active_ = false;
    Format format_ = Format::WavData;
    std::uint64_t announced_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t lastDataMs_ = 0;
    std::uint64_t clockUs_ = 0;  // played up to this time
    std::deque<std::uint8_t> buffer_;
    std::uint64_t played_ = 0;
};

}  // namespace linesim
