#pragma once
// Compressed recordings for the player's tests, encoded with the real codec
// library (libtrc.so beside the test programs).

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vanplay::test {

// Encodes 8 kHz samples (whole 20 ms frames) at the 24-byte rate; false if
// the codec cannot be loaded or the file not written.
bool WriteVrc(const std::filesystem::path& file, const std::vector<std::int16_t>& samples);

}  // namespace vanplay::test
