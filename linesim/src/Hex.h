#pragma once
// Hex text of the first bytes of a transfer, as the request log shows it.

#include <algorithm>
#include <cstdint>
#include <string>

namespace linesim {

inline constexpr std::size_t kLogDataBytes = 64;

inline std::string HexBytes(const std::uint8_t* data, std::size_t length) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    const std::size_t shown = data ? std::min(length, kLogDataBytes) : 0;
    for (std::size_t i = 0; i < shown; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0xF];
    }
    if (shown < length)
        out += "...";
    return out;
}

}  // namespace linesim
