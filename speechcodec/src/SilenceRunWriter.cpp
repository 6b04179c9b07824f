#include "speechcodec/SilenceRunWriter.h"

#include "speechcodec/VrcFormat.h"

namespace speechcodec {
namespace {

void Append(std::uint32_t frames, std::vector<std::uint8_t>& out) {
    std::uint8_t record[2];
    if (WriteSilenceRun(frames, record))
        out.insert(out.end(), record, record + 2);
}

}  // namespace

void SilenceRunWriter::Add(std::uint64_t frames, std::vector<std::uint8_t>& out) {
    while (frames > 0) {
        const std::uint64_t room = kMaxRunFrames - pending_;
        const std::uint64_t take = frames < room ? frames : room;
        pending_ += static_cast<std::uint32_t>(take);
        frames -= take;
        if (pending_ == kMaxRunFrames)
            Flush(out);
    }
}

void SilenceRunWriter::Flush(std::vector<std::uint8_t>& out) {
    if (pending_ > 0)
        Append(pending_, out);
    pending_ = 0;
}

void SilenceRunWriter::WriteRun(std::uint64_t frames, std::vector<std::uint8_t>& out) {
    SilenceRunWriter writer;
    writer.Add(frames, out);
    writer.Flush(out);
}

}  // namespace speechcodec
