#pragma once
// Reads a WAV file that is to be encoded: walks its RIFF chunks, accepts
// only 8 kHz, 16-bit, mono PCM (format 1, or the extensible form of it) and
// says why anything else is refused. A data chunk shorter than its header
// claims (a recording cut off) is taken as far as it goes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace speechcodec {

class WavReader {
public:
    // False with Error() set when the source is unusable: a reason in the
    // user's language (SpeechTexts.h).
    bool Open(const std::filesystem::path& path);
    bool Parse(const std::uint8_t* data, std::size_t size);

    const std::string& Error() const { return error_; }
    // Little-endian PCM16 bytes of the data chunk (an odd last byte dropped).
    const std::vector<std::uint8_t>& Data() const { return data_; }
    std::size_t SampleCount() const { return data_.size() / 2; }
    // What the data chunk's header claimed, and whether the file fell short.
    std::uint32_t DeclaredDataLength() const { return declared_; }
    bool DataTruncated() const { return truncated_; }

private:
    bool Fail(std::string reason);

    std::string error_;
    std::vector<std::uint8_t> data_;
    std::uint32_t declared_ = 0;
    bool truncated_ = false;
};

}  // namespace speechcodec
