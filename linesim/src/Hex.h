#pragma once
// Hex text of the first bytes of a transfer, as the request log shows it,
// and escaped text for answers.

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

// The text with every byte outside printable ASCII, and the backslash, shown
// as \xNN: an answer that echoes what a client sent can then never carry a
// line break or a terminal control sequence.
inline std::string EscapeUnprintable(const std::string& text) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += ch;
        } else {
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        }
    }
    return out;
}

}  // namespace linesim
