#include "RecordLengths.h"

#include "speechcodec/VrcWalker.h"

namespace speechcodec::test {

std::map<std::size_t, int> RecordLengths(const std::vector<std::uint8_t>& vrc) {
    std::map<std::size_t, int> count;
    VrcWalker walker(vrc);
    VrcRecord r;
    while (walker.Next(r)) ++count[r.length];
    return count;
}

}  // namespace speechcodec::test
