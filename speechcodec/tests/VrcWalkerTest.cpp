#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "speechcodec/VrcWalker.h"
#include "testsupport/TestEnvironment.h"

using namespace speechcodec;

namespace {

std::vector<std::uint8_t> Record(std::uint8_t first, std::size_t length) {
    std::vector<std::uint8_t> r(length, 0x5A);
    r[0] = first;
    return r;
}

void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& r) {
    to.insert(to.end(), r.begin(), r.end());
}

}  // namespace

TEST(VrcWalker, WalksEveryKindInOrder) {
    std::vector<std::uint8_t> data;
    Append(data, Record(0x15, 11));
    Append(data, Record(0x40, 18));
    Append(data, Record(0xA3, 24));
    Append(data, Record(0xC0, 4));
    Append(data, {0xE2, 0x03});
    VrcWalker walker(data);
    VrcRecord r;
    const std::vector<std::pair<RecordKind, std::size_t>> expected{{RecordKind::Coded11, 0},
                                                                   {RecordKind::Coded18, 11},
                                                                   {RecordKind::Coded24, 29},
                                                                   {RecordKind::ComfortNoise, 53},
                                                                   {RecordKind::SilenceRun, 57}};
    for (const auto& [kind, offset] : expected) {
        ASSERT_TRUE(walker.Next(r));
        EXPECT_EQ(r.kind, kind);
        EXPECT_EQ(r.offset, offset);
        EXPECT_EQ(r.bytes, data.data() + offset);
        EXPECT_EQ(r.frames, kind == RecordKind::SilenceRun ? 24u : 1u);
    }
    EXPECT_FALSE(walker.Next(r));
    EXPECT_FALSE(walker.Truncated());
    EXPECT_EQ(walker.Offset(), data.size());
}

TEST(VrcWalker, CutShortLastRecordIsReportedNotRead) {
    std::vector<std::uint8_t> data = Record(0x80, 24);
    Append(data, Record(0x80, 24));
    data.resize(24 + 10);
    VrcWalker walker(data);
    VrcRecord r;
    ASSERT_TRUE(walker.Next(r));
    EXPECT_FALSE(walker.Next(r));
    EXPECT_TRUE(walker.Truncated());
    EXPECT_EQ(walker.TruncatedBytes(), 10u);
    EXPECT_FALSE(walker.Next(r)) << "stays at the damage";
    const VrcScan scan = ScanRecords(data.data(), data.size());
    EXPECT_EQ(scan.frames, 1u);
    EXPECT_EQ(scan.truncatedBytes, 10u);
}

TEST(VrcWalker, LoneFirstByteOfARunIsTruncated) {
    const std::uint8_t data[] = {0xE0};
    VrcWalker walker(data, 1);
    VrcRecord r;
    EXPECT_FALSE(walker.Next(r));
    EXPECT_TRUE(walker.Truncated());
}

TEST(VrcWalker, EmptyAndNullDataHaveNoRecords) {
    VrcRecord r;
    VrcWalker empty(nullptr, 100);
    EXPECT_FALSE(empty.Next(r));
    EXPECT_FALSE(empty.Truncated());
    const VrcScan scan = ScanRecords(nullptr, 0);
    EXPECT_EQ(scan.records, 0u);
    EXPECT_EQ(scan.frames, 0u);
}

TEST(VrcWalker, RandomBytesStayInsideTheBuffer) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> data(rng() % 200);
        for (auto& b : data) b = static_cast<std::uint8_t>(rng());
        VrcWalker walker(data);
        VrcRecord r;
        std::size_t covered = 0;
        while (walker.Next(r)) {
            ASSERT_EQ(r.offset, covered);
            covered += r.length;
            ASSERT_LE(covered, data.size());
        }
        EXPECT_EQ(covered + walker.TruncatedBytes(), data.size());
    }
}

TEST(VrcWalker, ReadsWholeFilesAndExplainsMissingOnes) {
    vt::test::TestEnvironment env;
    const auto path = env.Root() / "call.vrc";
    std::vector<std::uint8_t> data = Record(0x15, 11);
    Append(data, {0xE0, 0x04});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<long>(data.size()));
    std::vector<std::uint8_t> read;
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, data);
    EXPECT_EQ(ScanRecords(read.data(), read.size()).frames, 6u);

    std::string error;
    EXPECT_FALSE(ReadWholeFile(env.Root() / "missing.vrc", read, &error));
    EXPECT_NE(error.find("missing.vrc"), std::string::npos) << error;
    EXPECT_TRUE(read.empty());

    const auto empty = env.Root() / "empty.vrc";
    std::ofstream(empty, std::ios::binary).close();
    ASSERT_TRUE(ReadWholeFile(empty, read));
    EXPECT_TRUE(read.empty());
}
