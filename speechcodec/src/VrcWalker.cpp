#include "speechcodec/VrcWalker.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "speechcodec/SpeechTexts.h"

namespace speechcodec {

VrcWalker::VrcWalker(const std::uint8_t* data, std::size_t size)
    : data_(data), size_(data ? size : 0) {}

bool VrcWalker::Next(VrcRecord& record) {
    if (offset_ >= size_ || truncated_)
        return false;
    const std::uint8_t first = data_[offset_];
    const RecordKind kind = KindOf(first);
    const std::size_t length = RecordLength(kind);
    if (length > size_ - offset_) {
        truncated_ = true;
        return false;
    }
    record.offset = offset_;
    record.kind = kind;
    record.bytes = data_ + offset_;
    record.length = length;
    record.frames =
        kind == RecordKind::SilenceRun ? SilenceRunFrames(first, data_[offset_ + 1]) : 1;
    offset_ += length;
    return true;
}

void LoadDecoderFrame(const VrcRecord& record, std::uint8_t* frame) {
    if (record.kind == RecordKind::SilenceRun) {
        frame[0] = kKindByteRun;
        frame[1] = 0x00;
    } else {
        std::memcpy(frame, record.bytes, record.length);
    }
}

VrcScan ScanRecords(const std::uint8_t* data, std::size_t size) {
    VrcScan scan;
    VrcWalker walker(data, size);
    VrcRecord record;
    while (walker.Next(record)) {
        ++scan.records;
        scan.frames += record.frames;
    }
    scan.truncatedBytes = walker.TruncatedBytes();
    return scan;
}

bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string* error) {
    out.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = SpeechText(kCannotOpen, {path.string(), std::strerror(errno)});
        return false;
    }
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        out.insert(out.end(), buffer, buffer + in.gcount());
    }
    if (in.bad()) {
        if (error)
            *error = SpeechText(QT_TRANSLATE_NOOP("speechcodec", "%1을(를) 읽을 수 없습니다"),
                                {path.string()});
        out.clear();
        return false;
    }
    return true;
}

}  // namespace speechcodec
