#pragma once
// One LAME encoding session: mono MP3 at a constant bit rate.

#include <cstdint>
#include <vector>

struct lame_global_struct;

namespace vt::mp3 {

class LameEncoder {
public:
    LameEncoder() = default;
    ~LameEncoder();
    LameEncoder(const LameEncoder&) = delete;
    LameEncoder& operator=(const LameEncoder&) = delete;

    // False when LAME refuses the settings.
    bool Start(unsigned sampleRate, unsigned channels, int bitRateKbps);

    // Encodes interleaved samples; the MP3 bytes are appended to `out`.
    // False on an encoder error.
    using Bytes = std::vector<std::uint8_t>;
    bool Encode(const std::vector<std::int16_t>& samples, Bytes& out);
    bool Finish(std::vector<std::uint8_t>& out);
    // The information frame (length, encoder delay and padding, so decoders
    // play the exact sample count) that replaces the stream's first frame.
    std::vector<std::uint8_t> TagFrame();

private:
    lame_global_struct* lame_ = nullptr;
    unsigned channels_ = 1;
    std::vector<std::int16_t> left_;
    std::vector<std::int16_t> right_;
};

}  // namespace vt::mp3
