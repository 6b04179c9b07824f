#include "speechcodec/WavReader.h"

#include <cstring>

#include "ByteOrder.h"
#include "speechcodec/SpeechTexts.h"
#include "speechcodec/VrcWalker.h"

namespace speechcodec {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

bool WavReader::Fail(std::string reason) {
    error_ = std::move(reason);
    data_.clear();
    declared_ = 0;
    truncated_ = false;
    return false;
}

bool WavReader::Open(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, &error))
        return Fail(error);
    return Parse(bytes.data(), bytes.size());
}

bool WavReader::Parse(const std::uint8_t* data, std::size_t size) {
    error_.clear();
    if (!data || size < 12)
        return Fail(
            SpeechText(QT_TRANSLATE_NOOP("speechcodec", "파일이 너무 짧아 WAV 파일이 아닙니다")));
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return Fail(SpeechText(
            QT_TRANSLATE_NOOP("speechcodec", "WAV 파일이 아닙니다 (RIFF/WAVE 머리말 없음)")));

    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= size) {
        const std::uint8_t* chunk = data + pos;
        const std::uint32_t length = le::Get32(chunk + 4);
        const std::size_t body = pos + 8;
        const std::size_t available = size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || available < 16)
                return Fail(
                    SpeechText(QT_TRANSLATE_NOOP("speechcodec", "fmt 청크가 너무 짧습니다")));
            std::uint16_t tag = le::Get16(chunk + 8);
            const std::uint16_t channels = le::Get16(chunk + 10);
            const std::uint32_t rate = le::Get32(chunk + 12);
            const std::uint16_t bits = le::Get16(chunk + 22);
            // The extensible form names its real format in the sub-format's first bytes.
            if (tag == kFormatExtensible && length >= 40 && available >= 40)
                tag = le::Get16(chunk + 32);
            if (tag != kFormatPcm)
                return Fail(SpeechText(
                    QT_TRANSLATE_NOOP("speechcodec",
                                      "PCM 소리가 아닙니다 (형식 %1), 16비트 PCM을 쓰십시오"),
                    {std::to_string(tag)}));
            if (channels != 1)
                return Fail(
                    SpeechText(QT_TRANSLATE_NOOP("speechcodec", "모노가 아닙니다 (채널 %1개)"),
                               {std::to_string(channels)}));
            if (rate != 8000)
                return Fail(
                    SpeechText(QT_TRANSLATE_NOOP("speechcodec", "8000 Hz가 아닙니다 (%1 Hz)"),
                               {std::to_string(rate)}));
            if (bits != 16)
                return Fail(
                    SpeechText(QT_TRANSLATE_NOOP("speechcodec", "16비트 샘플이 아닙니다 (%1비트)"),
                               {std::to_string(bits)}));
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return Fail(SpeechText(
                    QT_TRANSLATE_NOOP("speechcodec", "data 청크가 fmt 청크보다 앞에 있습니다")));
            declared_ = length;
            std::size_t take = length;
            if (take > available) {
                take = available;
                truncated_ = true;
            }
            take &= ~static_cast<std::size_t>(1);
            data_.assign(data + body, data + body + take);
            return true;
        }
        // Chunks are padded to an even length.
        const std::uint64_t next = static_cast<std::uint64_t>(body) + length + (length & 1);
        if (next > size)
            break;
        pos = static_cast<std::size_t>(next);
    }
    return Fail(haveFormat ? SpeechText(QT_TRANSLATE_NOOP("speechcodec", "data 청크가 없습니다"))
                           : SpeechText(QT_TRANSLATE_NOOP("speechcodec", "fmt 청크가 없습니다")));
}

}  // namespace speechcodec
