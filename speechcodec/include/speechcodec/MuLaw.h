#pragma once
// ITU-T G.711 mu-law, bit-exact with the ITU's reference software (G.191):
// the 14 most significant bits of a sample are coded; negative samples use
// the one's complement magnitude, so the quantiser is symmetric about -0.5.

#include <cstddef>
#include <cstdint>

namespace speechcodec {

std::uint8_t MuLawEncode(std::int16_t sample);
std::int16_t MuLawDecode(std::uint8_t code);

// count samples to count codes; pcm is little-endian PCM16 bytes (2 x count).
void MuLawEncodePcmBytes(const std::uint8_t* pcm, std::size_t count, std::uint8_t* out);

}  // namespace speechcodec
