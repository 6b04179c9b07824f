#pragma once
// The 44-byte RIFF header of the recordings and decoded files: 8 kHz mono,
// either 16-bit PCM (format 1) or 8-bit mu-law (format 7), little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace speechcodec {

enum class WavEncoding : std::uint16_t { Pcm16 = 1, MuLaw = 7 };

class WavHeader {
public:
    static constexpr std::size_t kSize = 44;
    using Bytes = std::array<std::uint8_t, kSize>;

    // "RIFF", data + 36, "WAVE", "fmt ", 16, format, 1 channel, 8000 Hz,
    // 16000 or 8000 bytes/s, block 2 or 1, 16 or 8 bits, "data", data.
    static Bytes Make(WavEncoding encoding, std::uint32_t dataLength);

    // Reads a header in exactly that canonical layout (any format values);
    // nullopt with a reason (SpeechTexts.h) when the bytes are not one.
    static std::optional<WavHeader> Parse(const std::uint8_t* bytes, std::size_t size,
                                          std::string* error = nullptr);

    // A recording cut off before its header was finished (the recorder
    // crashed) says data length 0: sets the data and RIFF lengths of a
    // canonical 44-byte header to what the file holds. The data length
    // before and after, or false with a reason (SpeechTexts.h).
    static bool RepairLengths(const std::string& path, std::uint32_t* before, std::uint32_t* after,
                              std::string* error);

    std::uint32_t riffLength = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t dataLength = 0;
};

}  // namespace speechcodec
