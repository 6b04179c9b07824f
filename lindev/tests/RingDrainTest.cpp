// The ring drain and the monitor ring on their own, with exact records.
#include <gtest/gtest.h>

#include <vector>

#include "MonitorRing.h"
#include "RingDrain.h"

using lindev::MonitorRing;
using lindev::RingDrain;

namespace {

// A ring whose record i carries payload length `length` of bytes i % 256
// and the number `number(i)`.
std::vector<std::uint8_t> Ring(int length, std::uint16_t (*number)(std::uint32_t)) {
    std::vector<std::uint8_t> ring(RingDrain::kRingBytes, 0);
    for (std::uint32_t i = 0; i < RingDrain::kRecords; ++i) {
        std::uint8_t* r = &ring[i * 64];
        r[1] = static_cast<std::uint8_t>(length);
        const std::uint16_t n = number(i);
        r[2] = static_cast<std::uint8_t>(n);
        r[3] = static_cast<std::uint8_t>(n >> 8);
        for (int b = 0; b < 60; ++b) r[4 + b] = static_cast<std::uint8_t>(i);
    }
    return ring;
}

std::uint16_t Unnumbered(std::uint32_t) { return 0; }

struct Collect {
    std::vector<std::uint8_t> firstBytes;
    std::size_t bytes = 0;
    void operator()(const std::uint8_t* p, std::size_t n) {
        firstBytes.push_back(p[0]);
        bytes += n;
    }
};

TEST(RingDrain, AWrappedCountDrainsToTheEndThenFromTheStart) {
    const auto ring = Ring(60, Unnumbered);
    RingDrain drain;
    Collect c;
    drain.Drain(ring.data(), 3990, [](const std::uint8_t*, std::size_t) {});
    const RingDrain::Pass pass = drain.Drain(ring.data(), 5, std::ref(c));
    EXPECT_EQ(pass.records, 15u);
    std::vector<std::uint8_t> expected;
    for (std::uint32_t i = 3990; i < 4000; ++i) expected.push_back(static_cast<std::uint8_t>(i));
    for (std::uint32_t i = 0; i < 5; ++i) expected.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(c.firstBytes, expected);
    EXPECT_EQ(c.bytes, 15u * 60);
}

TEST(RingDrain, EmptyRecordsAndOversizedLengthsAndCountsOutsideTheRing) {
    auto ring = Ring(0, Unnumbered);
    ring[1] = 200;  // a bad length never reads into the next record
    RingDrain drain;
    Collect c;
    RingDrain::Pass pass = drain.Drain(ring.data(), 3, std::ref(c));
    EXPECT_EQ(pass.records, 3u);
    EXPECT_EQ(c.bytes, 60u);
    pass = drain.Drain(ring.data(), 4000, std::ref(c));
    EXPECT_TRUE(pass.badCount);
    EXPECT_EQ(pass.records, 0u);
    pass = drain.Drain(ring.data(), 25599, std::ref(c));
    EXPECT_TRUE(pass.badCount);
    EXPECT_EQ(drain.LastCount(), 3u);
    EXPECT_EQ(drain.Drain(ring.data(), 0, std::ref(c)).records, 0u);
    EXPECT_EQ(drain.Drain(ring.data(), 3, std::ref(c)).records, 0u);
}

TEST(RingDrain, ALappedRingIsDrainedOnceOldestFirstAndReported) {
    // Records 1..3000 were drained; the driver then wrote 5000 more (numbers
    // 3001..8000), so the ring holds numbers 4001..8000 and its count is 0
    // (8000 mod 4000)... use count 500: 3000 + 5500 = 8500 written.
    auto numbered = [](std::uint32_t i) {
        // Record at index i holds the latest number written there: for
        // 8500 records, indexes 0..499 hold 8001..8500, the rest 4001+i..
        return static_cast<std::uint16_t>(i < 500 ? 8001 + i : 4001 + i);
    };
    auto ring = Ring(60, +numbered);
    RingDrain drain;
    // First pass: as if records 1..3000 sat at 0..2999.
    std::vector<std::uint8_t> early = Ring(60, [](std::uint32_t i) { return static_cast<std::uint16_t>(i + 1); });
    drain.Drain(early.data(), 3000, [](const std::uint8_t*, std::size_t) {});
    Collect c;
    const RingDrain::Pass pass = drain.Drain(ring.data(), 500, std::ref(c));
    EXPECT_TRUE(pass.lapped);
    EXPECT_EQ(pass.lost, 1500u);  // numbers 3001..4500 are gone
    EXPECT_EQ(pass.records, 4000u);
    ASSERT_EQ(c.firstBytes.size(), 4000u);
    EXPECT_EQ(c.firstBytes.front(), static_cast<std::uint8_t>(500));  // oldest first
    // Numbers wrap from 65535 to 1 without a lap.
    RingDrain wrapping;
    auto high = Ring(60, [](std::uint32_t i) { return static_cast<std::uint16_t>(65000 + i); });
    wrapping.Drain(high.data(), 535, [](const std::uint8_t*, std::size_t) {});  // ..65534
    auto over = Ring(60, [](std::uint32_t i) {
        return static_cast<std::uint16_t>(i == 535 ? 65535 : i > 535 ? i - 535 : 65000 + i);
    });
    EXPECT_FALSE(wrapping.Drain(over.data(), 536, [](const std::uint8_t*, std::size_t) {}).lapped);
    EXPECT_FALSE(wrapping.Drain(over.data(), 600, [](const std::uint8_t*, std::size_t) {}).lapped)
        << "65535 is followed by 1";
    // Unnumbered records are never taken for lapped.
    RingDrain plain;
    const auto zeros = Ring(60, Unnumbered);
    plain.Drain(zeros.data(), 3000, [](const std::uint8_t*, std::size_t) {});
    EXPECT_FALSE(plain.Drain(zeros.data(), 500, [](const std::uint8_t*, std::size_t) {}).lapped);
}

TEST(MonitorRing, SixtyBytePayloadsMakeAChunkEveryThirdRecordAndNeverLeaveTheMemory) {
    MonitorRing ring;
    ring.Clear();
    std::uint8_t payload[60];
    const std::uint8_t* begin = ring.Memory();
    const std::uint8_t* end = begin + MonitorRing::MemorySize();
    int records = 0, chunks = 0;
    const std::uint8_t* firstChunk = nullptr;
    for (int i = 0; i < 300; ++i) {
        for (auto& b : payload) b = static_cast<std::uint8_t>(i);
        std::size_t length = 0;
        const std::uint8_t* chunk = ring.Add(payload, sizeof payload, &length);
        ++records;
        if (!chunk) continue;
        ++chunks;
        EXPECT_EQ(records % 3, 0);
        EXPECT_EQ(length, 180u);
        EXPECT_GE(chunk, begin);
        EXPECT_LE(chunk + length, end);
        EXPECT_EQ(chunk[0], static_cast<std::uint8_t>(i - 2));
        EXPECT_EQ(chunk[179], static_cast<std::uint8_t>(i));
        if (!firstChunk) firstChunk = chunk;
    }
    EXPECT_EQ(chunks, 100);
    EXPECT_EQ(firstChunk, begin);
}

TEST(MonitorRing, AChunkStartingNearTheEndFitsWhole) {
    MonitorRing ring;
    ring.Clear();
    std::uint8_t payload[60] = {};
    const std::uint8_t* end = ring.Memory() + MonitorRing::MemorySize();
    // 131 bytes then 60: chunks of 191 bytes at 0, 191, 382, then 573 (< 659).
    for (int i = 0; i < 40; ++i) {
        std::size_t length = 0;
        ring.Add(payload, 11, nullptr);
        for (int k = 0; k < 2; ++k) ring.Add(payload, 60, nullptr);
        const std::uint8_t* chunk = ring.Add(payload, 60, &length);
        ASSERT_TRUE(chunk);
        EXPECT_EQ(length, 191u);
        EXPECT_LE(chunk + length, end);
    }
}

}  // namespace
