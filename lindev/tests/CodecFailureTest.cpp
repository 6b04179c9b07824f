// Conversions that cannot succeed end with the right done code, never crash,
// never read past their input and never leave a half-written destination.
#include <gtest/gtest.h>

#include <random>

#include "CodecFixture.h"
#include "speechcodec/VrcWalker.h"

using namespace lindev::test;
using namespace speechcodec;

namespace {

class CodecFailure : public CodecFixture {
protected:
    void SetUp() override {
        CodecFixture::SetUp();
        WriteAll(Path("ok.vrc"), Bytes{0xE0, 0x04});
        WriteAll(Path("ok.wav"), MakeWav(std::vector<std::int16_t>(1600, 0)));
    }
    long DecodeDone(const std::string& src, const std::string& dst, bool muLaw) {
        return Decode(src, dst, muLaw).done;
    }
    long EncodeDone(const std::string& src, const std::string& dst) {
        return Finish(TY_Encoder(P(src).c_str(), P(dst).c_str(), 1024, 0, 1, 100, 0)).done;
    }
};

}  // namespace

TEST_F(CodecFailure, MissingSource) {
    EXPECT_EQ(DecodeDone("none.vrc", "a.wav", false), 1);
    EXPECT_EQ(DecodeDone("none.vrc", "b.wav", true), 1);
    EXPECT_EQ(EncodeDone("none.wav", "c.vrc"), 1);
    for (const char* name : {"a.wav", "b.wav", "c.vrc"}) EXPECT_FALSE(fs::exists(Path(name)));
}

TEST_F(CodecFailure, SourceThatIsNoUsableWavEndsWithTwoAndNoDestination) {
    WriteAll(Path("text.wav"), Bytes{'h', 'e', 'l', 'l', 'o'});
    WriteAll(Path("empty.wav"), Bytes{});
    Bytes stereo = ReadBytes(Path("ok.wav"));
    stereo[22] = 2;
    WriteAll(Path("stereo.wav"), stereo);
    Bytes mulaw = ReadBytes(Path("ok.wav"));
    mulaw[20] = 7;
    WriteAll(Path("mulaw.wav"), mulaw);
    for (const char* name : {"text.wav", "empty.wav", "stereo.wav", "mulaw.wav", "ok.vrc"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(EncodeDone(name, "out.vrc"), 2);
        EXPECT_FALSE(fs::exists(Path("out.vrc")));
    }
}

TEST_F(CodecFailure, DestinationThatCannotBeCreated) {
    EXPECT_EQ(DecodeDone("ok.vrc", "no/such/folder/a.wav", false), 1);
    EXPECT_EQ(DecodeDone("ok.vrc", "no/such/folder/a.wav", true), 1);
    EXPECT_EQ(EncodeDone("ok.wav", "no/such/folder/a.vrc"), 2);
    fs::create_directories(Path("folder.wav"));
    EXPECT_EQ(DecodeDone("ok.vrc", "folder.wav", false), 1);
}

TEST_F(CodecFailure, MissingOrIncompleteCodecLibraryFailsEveryConversion) {
    // A library that is not there, and a real one without the seven entry points.
    const std::string incomplete = (vt::test::BinaryFolder() / "libvtplatform.so").string();
    ASSERT_TRUE(fs::exists(incomplete));
    for (const std::string& library : {P("absent/libtrc.so"), incomplete}) {
        SCOPED_TRACE(library);
        lindev::SetCodecLibraryPath(library);
        EXPECT_EQ(DecodeDone("ok.vrc", "a.wav", false), 1);
        EXPECT_EQ(DecodeDone("ok.vrc", "b.wav", true), 1);
        EXPECT_EQ(EncodeDone("ok.wav", "c.vrc"), 1);
        for (const char* name : {"a.wav", "b.wav", "c.vrc"}) EXPECT_FALSE(fs::exists(Path(name)));
    }
    // Given by path, the real library works.
    lindev::SetCodecLibraryPath((vt::test::BinaryFolder() / "libtrc.so").string());
    EXPECT_EQ(DecodeDone("ok.vrc", "a.wav", false), 0);
}

TEST_F(CodecFailure, TruncatedLastRecordIsLeftOut) {
    // A whole 11-byte record, then 5 bytes of a 24-byte one.
    WriteAll(Path("cut.vrc"), Bytes{0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0x80, 1, 2, 3, 4});
    const Outcome o = Decode("cut.vrc", "cut.wav");
    EXPECT_EQ(o.done, 0);
    EXPECT_EQ(ReadBytes(Path("cut.wav")).size(), 44u + 320);
    ASSERT_FALSE(o.progress.empty());
    EXPECT_EQ(o.progress.back(), 100);
}

TEST_F(CodecFailure, RandomBytesDecodeToTheirWholeRecords) {
    std::mt19937 random(7);
    for (int round = 0; round < 4; ++round) {
        Bytes noise(1000 + round * 777);
        for (auto& b : noise) b = static_cast<std::uint8_t>(random());
        WriteAll(Path("noise.vrc"), noise);
        const VrcScan scan = ScanRecords(noise.data(), noise.size());
        for (bool muLaw : {false, true}) {
            ASSERT_EQ(Decode("noise.vrc", "noise.wav", muLaw).done, 0);
            const Bytes wav = ReadBytes(Path("noise.wav"));
            const std::size_t perFrame = muLaw ? 160 : 320;
            ASSERT_EQ(wav.size(), 44 + scan.frames * perFrame);
            EXPECT_EQ(WavHeader::Parse(wav.data(), wav.size())->dataLength, scan.frames * perFrame);
        }
    }
}

TEST_F(CodecFailure, EmptyRecordingDecodesToAnEmptyWav) {
    WriteAll(Path("empty.vrc"), Bytes{});
    for (bool muLaw : {false, true}) {
        const Outcome o = Decode("empty.vrc", "empty.wav", muLaw);
        EXPECT_EQ(o.done, 0);
        const auto header = WavHeader::Make(muLaw ? WavEncoding::MuLaw : WavEncoding::Pcm16, 0);
        EXPECT_EQ(ReadBytes(Path("empty.wav")), Bytes(header.begin(), header.end()));
        EXPECT_EQ(o.progress, std::vector<long>{100});
    }
}

TEST_F(CodecFailure, WavWhoseDataChunkIsShorterThanItsHeaderSays) {
    Bytes wav = MakeWav(std::vector<std::int16_t>(10 * 160 + 37, 0));
    wav[40] = 0xFF;  // claims far more than the file holds
    wav[41] = 0xFF;
    wav[42] = 0x00;
    WriteAll(Path("short.wav"), wav);
    ASSERT_EQ(EncodeDone("short.wav", "short.vrc"), 0);
    const Bytes coded = ReadBytes(Path("short.vrc"));
    EXPECT_EQ(ScanRecords(coded.data(), coded.size()).frames, 10u);
}

TEST_F(CodecFailure, PathsLongerThanTheirFieldsAreRefusedNotCut) {
    // A folder whose path plus a long name passes 511 bytes; the name cut at
    // 511 bytes would be a valid file in that folder.
    const fs::path folder = dir_ / std::string(200, 'd') / std::string(200, 'e');
    fs::create_directories(folder);
    const std::size_t room = 511 - folder.string().size() - 1;
    const std::string name(room + 40, 'f');
    const std::string longDst = (folder / name).string();
    ASSERT_GT(longDst.size(), 511u);
    const std::string longSrc = (folder / (name + ".vrc")).string();
    WriteAll(longSrc, Bytes{0xE0, 0x00});

    EXPECT_EQ(TY_Decoder(P("ok.vrc").c_str(), longDst.c_str(), 1024, 100, 0), 0);
    EXPECT_EQ(TY_Decoder1(longSrc.c_str(), P("a.wav").c_str(), 1024, 100, 0), 0);
    EXPECT_EQ(TY_Encoder(P("ok.wav").c_str(), longDst.c_str(), 1024, 0, 1, 100, 0), 0);
    EXPECT_EQ(TY_Decoder(nullptr, P("a.wav").c_str(), 1024, 100, 0), 0);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) files += entry.path() != longSrc;
    EXPECT_EQ(files, 0u) << "something was written under a cut name";
    EXPECT_FALSE(fs::exists(Path("a.wav")));
    // A path of exactly 511 bytes still fits.
    const std::string fits = (folder / std::string(room, 'g')).string();
    ASSERT_EQ(fits.size(), 511u);
    EXPECT_EQ(Finish(TY_Decoder(P("ok.vrc").c_str(), fits.c_str(), 1024, 100, 0)).done, 0);
    EXPECT_EQ(ReadBytes(fits).size(), 44u + 5 * 320);
}
