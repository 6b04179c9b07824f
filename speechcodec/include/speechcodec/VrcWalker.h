#pragma once
// Walks the records of a compressed recording held in memory without ever
// reading past its end: a last record that the data cuts short is reported
// (Truncated()) and not returned.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {

struct VrcRecord {
    std::size_t offset = 0;  // of the first byte in the data
    RecordKind kind = RecordKind::SilenceRun;
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;    // RecordLength of the first byte
    std::uint32_t frames = 0;  // 1, or the run's frame count
};

class VrcWalker {
public:
    // The data must outlive the walker.
    VrcWalker(const std::uint8_t* data, std::size_t size);
    explicit VrcWalker(const std::vector<std::uint8_t>& data)
        : VrcWalker(data.data(), data.size()) {}

    // The next whole record; false at the end or at a truncated record.
    bool Next(VrcRecord& record);
    std::size_t Offset() const { return offset_; }
    // True once Next stopped at a record longer than the bytes left.
    bool Truncated() const { return truncated_; }
    // Bytes of the cut-short record (0 unless Truncated()).
    std::size_t TruncatedBytes() const { return truncated_ ? size_ - offset_ : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool truncated_ = false;
};

// Writes over `frame` (kFrameBufferBytes) what the decoder takes for a
// record: a run's one silent frame (kKindByteRun, 0), else the record's
// bytes; the bytes behind a shorter record keep what was there. The frame
// is decoded record.frames times.
void LoadDecoderFrame(const VrcRecord& record, std::uint8_t* frame);

// A summary of a whole recording, for sizing output and reporting damage.
struct VrcScan {
    std::uint64_t records = 0;
    std::uint64_t frames = 0;
    std::uint64_t truncatedBytes = 0;  // a cut-short last record
};
VrcScan ScanRecords(const std::uint8_t* data, std::size_t size);

// Reads a whole file; false with a reason (SpeechTexts.h) when it
// cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string* error = nullptr);

}  // namespace speechcodec
