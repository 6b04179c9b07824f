#include "speechcodec/WavHeader.h"

#include <cstring>

#include "ByteOrder.h"

namespace speechcodec {
namespace {

bool Tag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

bool Fail(std::string* error, const char* reason) {
    if (error)
        *error = reason;
    return false;
}

}  // namespace

WavHeader::Bytes WavHeader::Make(WavEncoding encoding, std::uint32_t dataLength) {
    const bool pcm = encoding == WavEncoding::Pcm16;
    Bytes b{};
    std::memcpy(&b[0], "RIFF", 4);
    le::Put32(&b[4], dataLength + 36);
    std::memcpy(&b[8], "WAVE", 4);
    std::memcpy(&b[12], "fmt ", 4);
    le::Put32(&b[16], 16);
    le::Put16(&b[20], static_cast<std::uint16_t>(encoding));
    le::Put16(&b[22], 1);
    le::Put32(&b[24], 8000);
    le::Put32(&b[28], pcm ? 16000 : 8000);
    le::Put16(&b[32], pcm ? 2 : 1);
    le::Put16(&b[34], pcm ? 16 : 8);
    std::memcpy(&b[36], "data", 4);
    le::Put32(&b[40], dataLength);
    return b;
}

std::optional<WavHeader> WavHeader::Parse(const std::uint8_t* bytes, std::size_t size,
                                          std::string* error) {
    auto fail = [&](const char* reason) {
        Fail(error, reason);
        return std::nullopt;
    };
    if (!bytes || size < kSize)
        return fail("shorter than a 44-byte WAV header");
    if (!Tag(bytes, "RIFF") || !Tag(bytes + 8, "WAVE"))
        return fail("not a RIFF WAVE file");
    if (!Tag(bytes + 12, "fmt ") || le::Get32(bytes + 16) != 16)
        return fail("no 16-byte format chunk at offset 12");
    if (!Tag(bytes + 36, "data"))
        return fail("no data chunk at offset 36");
    WavHeader h;
    h.riffLength = le::Get32(bytes + 4);
    h.formatTag = le::Get16(bytes + 20);
    h.channels = le::Get16(bytes + 22);
    h.sampleRate = le::Get32(bytes + 24);
    h.byteRate = le::Get32(bytes + 28);
    h.blockAlign = le::Get16(bytes + 32);
    h.bitsPerSample = le::Get16(bytes + 34);
    h.dataLength = le::Get32(bytes + 40);
    return h;
}

}  // namespace speechcodec
