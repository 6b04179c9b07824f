#include <gtest/gtest.h>

#include "speechcodec/SilenceRunWriter.h"
#include "speechcodec/TrcModule.h"
#include "speechcodec/VrcFormat.h"
#include "speechcodec/VrcWalker.h"

using namespace speechcodec;

TEST(VrcFormat, TopThreeBitsGiveKindAndLength) {
    for (int b = 0; b < 256; ++b) {
        const auto first = static_cast<std::uint8_t>(b);
        const int top = b & 0xE0;
        const std::size_t expected = top < 0x40    ? 11
                                     : top < 0x80  ? 18
                                     : top < 0xC0  ? 24
                                     : top == 0xC0 ? 4
                                                   : 2;
        EXPECT_EQ(RecordLength(first), expected) << "first byte " << b;
    }
    EXPECT_EQ(KindOf(0x15), RecordKind::Coded11);
    EXPECT_EQ(KindOf(0x20), RecordKind::Coded11);
    EXPECT_EQ(KindOf(0x60), RecordKind::Coded18);
    EXPECT_EQ(KindOf(0xA0), RecordKind::Coded24);
    EXPECT_EQ(KindOf(0xDF), RecordKind::ComfortNoise);
    EXPECT_EQ(KindOf(0xE0), RecordKind::SilenceRun);
}

TEST(VrcFormat, RunRecordsDecodeAsTheLayoutDefines) {
    EXPECT_EQ(SilenceRunFrames(0xE0, 0x00), 1u);
    EXPECT_EQ(SilenceRunFrames(0xE0, 0x04), 5u);
    EXPECT_EQ(SilenceRunFrames(0xE2, 0x03), 24u);
    EXPECT_EQ(SilenceRunFrames(0xE0, 0xFF), 256u);
    EXPECT_EQ(SilenceRunFrames(0xFF, 0x09), 320u);
    // The marker of the text's long runs still reads as the layout says.
    EXPECT_EQ(SilenceRunFrames(0xFF, 0xFF), 566u);
}

TEST(VrcFormat, EveryRunLengthUpToTheMaximumRoundTrips) {
    for (std::uint32_t n = 1; n <= kMaxRunFrames; ++n) {
        std::uint8_t rec[2];
        ASSERT_TRUE(WriteSilenceRun(n, rec));
        EXPECT_EQ(KindOf(rec[0]), RecordKind::SilenceRun);
        EXPECT_EQ(SilenceRunFrames(rec[0], rec[1]), n) << "run of " << n;
    }
}

TEST(VrcFormat, LongRunsUseTheCodecDigits) {
    TrcModule trc;
    ASSERT_TRUE(trc.Load()) << trc.Error();
    for (std::uint32_t n = 257; n <= kMaxRunFrames; ++n) {
        std::uint8_t rec[2];
        ASSERT_TRUE(WriteSilenceRun(n, rec));
        const int c = static_cast<int>(n - 1);
        EXPECT_EQ(rec[0], static_cast<std::uint8_t>((trc.HSB(c) - 0x20) % 256));
        EXPECT_EQ(rec[1], trc.LSB(c));
    }
    std::uint8_t rec[2] = {0, 0};
    EXPECT_EQ(WriteSilenceRun(5, rec), true);
    EXPECT_EQ(rec[0], 0xE0);
    EXPECT_EQ(rec[1], 4);
}

TEST(VrcFormat, RunsOutsideOneRecordAreRefused) {
    std::uint8_t rec[2] = {0x11, 0x22};
    EXPECT_FALSE(WriteSilenceRun(0, rec));
    EXPECT_FALSE(WriteSilenceRun(kMaxRunFrames + 1, rec));
    EXPECT_EQ(rec[0], 0x11);
    EXPECT_EQ(rec[1], 0x22);
}

namespace {

std::uint64_t FramesOf(const std::vector<std::uint8_t>& bytes) {
    const VrcScan scan = ScanRecords(bytes.data(), bytes.size());
    EXPECT_EQ(scan.truncatedBytes, 0u);
    EXPECT_EQ(scan.records * 2, bytes.size()) << "only run records";
    return scan.frames;
}

}  // namespace

TEST(SilenceRunWriter, EveryRunSurvivesTheRoundTrip) {
    for (std::uint64_t n : {1ull, 2ull, 256ull, 257ull, 320ull, 321ull, 641ull, 1000ull, 131071ull,
                            131072ull, 131073ull, 200000ull, 1000003ull}) {
        std::vector<std::uint8_t> out;
        SilenceRunWriter::WriteRun(n, out);
        EXPECT_EQ(FramesOf(out), n) << "run of " << n;
        EXPECT_EQ(out.size(), 2 * ((n + kMaxRunFrames - 1) / kMaxRunFrames));
    }
    std::vector<std::uint8_t> none;
    SilenceRunWriter::WriteRun(0, none);
    EXPECT_TRUE(none.empty());
}

TEST(SilenceRunWriter, FullRecordsAreWrittenAsSoonAsTheyFill) {
    SilenceRunWriter writer;
    std::vector<std::uint8_t> out;
    writer.Add(319, out);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(writer.Pending(), 319u);
    writer.Add(1, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(SilenceRunFrames(out[0], out[1]), 320u);
    EXPECT_EQ(writer.Pending(), 0u);
    writer.Add(5, out);
    writer.Flush(out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[2], 0xE0);
    EXPECT_EQ(out[3], 4);
    writer.Flush(out);
    EXPECT_EQ(out.size(), 4u) << "nothing pending, nothing written";
}

TEST(SilenceRunWriter, FrameByFrameGivesTheSameBytesAsOneRun) {
    std::vector<std::uint8_t> whole, stepwise;
    SilenceRunWriter::WriteRun(131100, whole);
    SilenceRunWriter writer;
    for (int i = 0; i < 131100; ++i) writer.Add(1, stepwise);
    writer.Flush(stepwise);
    EXPECT_EQ(stepwise, whole);
}
