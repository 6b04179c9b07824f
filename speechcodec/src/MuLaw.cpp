#include "speechcodec/MuLaw.h"

namespace speechcodec {

std::uint8_t MuLawEncode(std::int16_t sample) {
    // Magnitude on the 14-bit scale plus the bias that makes the segment
    // boundaries powers of two; negative values use ~x (one's complement).
    const int x = sample;
    int magnitude = (x < 0 ? ~x : x) >> 2;
    magnitude += 33;
    if (magnitude > 0x1FFF)
        magnitude = 0x1FFF;
    int segment = 0;  // 0..7: position of the highest set bit above bit 5
    for (int v = magnitude >> 6; v != 0; v >>= 1) ++segment;
    const int mantissa = (magnitude >> (segment + 1)) & 0x0F;
    const int code = (segment << 4) | mantissa;
    // Codes are sent inverted; the sign bit is set for non-negative samples.
    return static_cast<std::uint8_t>((x >= 0 ? 0xFF : 0x7F) ^ code);
}

std::int16_t MuLawDecode(std::uint8_t code) {
    const int inverted = ~code & 0xFF;
    const int segment = (inverted >> 4) & 0x07;
    const int mantissa = inverted & 0x0F;
    // Back on the 16-bit scale: the interval's middle, bias removed.
    const int magnitude = (((mantissa << 1) + 33) << (segment + 2)) - 132;
    return static_cast<std::int16_t>(code & 0x80 ? magnitude : -magnitude);
}

void MuLawEncodePcmBytes(const std::uint8_t* pcm, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto s = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
        out[i] = MuLawEncode(s);
    }
}

}  // namespace speechcodec
