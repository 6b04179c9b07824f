#include "speechcodec/WavHeader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ByteOrder.h"
#include "speechcodec/SpeechTexts.h"

namespace speechcodec {
namespace {

bool Tag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// A file (%1) whose first bytes are no 44-byte WAV header, and why (%2).
constexpr const char* kNotWav =
    QT_TRANSLATE_NOOP("speechcodec", "%1: 44바이트 머리말이 있는 WAV 파일이 아닙니다");
constexpr const char* kNotWavBecause =
    QT_TRANSLATE_NOOP("speechcodec", "%1: 44바이트 머리말이 있는 WAV 파일이 아닙니다: %2");

bool Fail(std::string* error, const char* reason) {
    if (error)
        *error = SpeechText(reason);
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
        return fail(QT_TRANSLATE_NOOP("speechcodec", "44바이트 WAV 머리말보다 짧습니다"));
    if (!Tag(bytes, "RIFF") || !Tag(bytes + 8, "WAVE"))
        return fail(QT_TRANSLATE_NOOP("speechcodec", "RIFF WAVE 파일이 아닙니다"));
    if (!Tag(bytes + 12, "fmt ") || le::Get32(bytes + 16) != 16)
        return fail(QT_TRANSLATE_NOOP("speechcodec", "12번 위치에 16바이트 fmt 청크가 없습니다"));
    if (!Tag(bytes + 36, "data"))
        return fail(QT_TRANSLATE_NOOP("speechcodec", "36번 위치에 data 청크가 없습니다"));
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

bool WavHeader::RepairLengths(const std::string& path, std::uint32_t* before, std::uint32_t* after,
                              std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) {
        *error = SpeechText(kCannotOpen, {path, std::strerror(errno)});
        return false;
    }
    std::uint8_t bytes[kSize];
    const bool read = std::fread(bytes, 1, kSize, file) == kSize;
    std::string why;
    const std::optional<WavHeader> header = read ? Parse(bytes, kSize, &why) : std::nullopt;
    bool ok = false;
    if (!header) {
        *error =
            why.empty() ? SpeechText(kNotWav, {path}) : SpeechText(kNotWavBecause, {path, why});
    } else if (std::fseek(file, 0, SEEK_END) != 0 || std::ftell(file) < 0) {
        *error =
            SpeechText(QT_TRANSLATE_NOOP("speechcodec", "%1의 크기를 읽을 수 없습니다"), {path});
    } else {
        const std::uint64_t size = static_cast<std::uint64_t>(std::ftell(file));
        const std::uint64_t data = std::min<std::uint64_t>(size - kSize, 0xFFFFFFFFull - 36);
        *before = header->dataLength;
        *after = static_cast<std::uint32_t>(data);
        const Bytes fixed = Make(static_cast<WavEncoding>(header->formatTag), *after);
        // Only the two lengths change; the format fields stay as they were.
        std::memcpy(bytes + 4, fixed.data() + 4, 4);
        std::memcpy(bytes + 40, fixed.data() + 40, 4);
        ok = std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(bytes, 1, kSize, file) == kSize;
        if (!ok)
            *error = SpeechText(QT_TRANSLATE_NOOP("speechcodec", "%1에 쓸 수 없습니다: %2"),
                                {path, std::strerror(errno)});
    }
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace speechcodec
