#pragma once
// What a compressed recording is made of, for the tests that check the
// encoder's choice of record sizes.

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace speechcodec::test {

// How many records of each length the recording holds, up to the first
// damaged or cut-short record.
std::map<std::size_t, int> RecordLengths(const std::vector<std::uint8_t>& vrc);

}  // namespace speechcodec::test
