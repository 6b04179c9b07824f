// The record walker and the run reader on arbitrary bytes: every record
// returned lies inside the data and the walk accounts for every byte.

#include <cstdint>
#include <cstdlib>

#include "speechcodec/VrcWalker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace speechcodec;
    VrcWalker walker(data, size);
    VrcRecord r;
    std::size_t covered = 0;
    std::uint64_t frames = 0;
    while (walker.Next(r)) {
        if (r.offset != covered || r.length != RecordLength(r.bytes[0]))
            std::abort();
        if (r.kind == RecordKind::SilenceRun &&
            r.frames != SilenceRunFrames(r.bytes[0], r.bytes[1]))
            std::abort();
        covered += r.length;
        frames += r.frames;
    }
    if (covered + walker.TruncatedBytes() != size)
        std::abort();
    if (ScanRecords(data, size).frames != frames)
        std::abort();
    return 0;
}
