#pragma once
// The parameters of one codec conversion, as the exports store them in the
// slot: both paths in cleared 512-char fields, volume, mapped rate, silence
// flag and progress scale.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lindev {

enum class CodecKind { DecodePcm, DecodeMuLaw, Encode };

struct CodecJob {
    static constexpr std::size_t kPathField = 512;

    CodecKind kind = CodecKind::DecodePcm;
    char source[kPathField] = {};
    char destination[kPathField] = {};
    std::uint16_t volume = 0;
    std::uint8_t rate = 0;
    int silence = 0;
    int scale = 0;

    // Copies text into a cleared field. A path that does not fit whole (or
    // none at all) is refused rather than cut: a cut path names another file.
    static bool StorePath(const char* text, char (&field)[kPathField]) {
        std::memset(field, 0, kPathField);
        if (!text)
            return false;
        const std::size_t length = std::strlen(text);
        if (length >= kPathField)
            return false;
        std::memcpy(field, text, length);
        return true;
    }
};

}  // namespace lindev
