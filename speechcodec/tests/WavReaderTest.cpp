#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "speechcodec/WavHeader.h"
#include "speechcodec/WavReader.h"
#include "testsupport/TestEnvironment.h"

using namespace speechcodec;

namespace {

void Put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void Tag(std::vector<std::uint8_t>& v, const char* t) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(t[i]));
}

struct Format {
    std::uint16_t tag = 1, channels = 1, bits = 16;
    std::uint32_t rate = 8000;
    std::uint32_t chunkLength = 16;
};

// A RIFF file of the given chunks; fmt first unless told otherwise.
std::vector<std::uint8_t> Wav(const Format& f, std::uint32_t declaredData, std::size_t presentData,
                              bool listChunk = false) {
    std::vector<std::uint8_t> v;
    Tag(v, "RIFF");
    Put32(v, 0);
    Tag(v, "WAVE");
    if (listChunk) {
        Tag(v, "LIST");
        Put32(v, 5);
        v.insert(v.end(), {'I', 'N', 'F', 'O', 'x', 0});  // odd length, padded
    }
    Tag(v, "fmt ");
    Put32(v, f.chunkLength);
    Put16(v, f.tag);
    Put16(v, f.channels);
    Put32(v, f.rate);
    Put32(v, f.rate * f.channels * f.bits / 8);
    Put16(v, static_cast<std::uint16_t>(f.channels * f.bits / 8));
    Put16(v, f.bits);
    for (std::uint32_t i = 16; i < f.chunkLength; ++i) v.push_back(0);
    Tag(v, "data");
    Put32(v, declaredData);
    for (std::size_t i = 0; i < presentData; ++i) v.push_back(static_cast<std::uint8_t>(i));
    return v;
}

bool Parse(WavReader& r, const std::vector<std::uint8_t>& v) {
    return r.Parse(v.data(), v.size());
}

}  // namespace

TEST(WavReader, ReadsTheDecodersOwnOutput) {
    std::vector<std::uint8_t> v;
    const auto h = WavHeader::Make(WavEncoding::Pcm16, 640);
    v.assign(h.begin(), h.end());
    for (int i = 0; i < 640; ++i) v.push_back(static_cast<std::uint8_t>(i * 3));
    WavReader r;
    ASSERT_TRUE(Parse(r, v)) << r.Error();
    EXPECT_EQ(r.SampleCount(), 320u);
    EXPECT_EQ(r.Data().front(), 0);
    EXPECT_EQ(r.Data()[5], 15);
    EXPECT_FALSE(r.DataTruncated());
}

TEST(WavReader, ShortDataChunkIsTakenAsFarAsItGoes) {
    WavReader r;
    ASSERT_TRUE(Parse(r, Wav({}, 1000, 601))) << r.Error();
    EXPECT_TRUE(r.DataTruncated());
    EXPECT_EQ(r.DeclaredDataLength(), 1000u);
    EXPECT_EQ(r.Data().size(), 600u) << "the odd byte is no sample";
}

TEST(WavReader, SkipsOtherChunksAndLongerFormatChunks) {
    WavReader r;
    ASSERT_TRUE(Parse(r, Wav({}, 8, 8, true))) << r.Error();
    EXPECT_EQ(r.SampleCount(), 4u);
    Format f18;
    f18.chunkLength = 18;
    ASSERT_TRUE(Parse(r, Wav(f18, 8, 8))) << r.Error();
    EXPECT_EQ(r.Data()[0], 0) << "samples start after the data chunk header";
}

TEST(WavReader, AcceptsExtensiblePcm) {
    Format f;
    f.tag = 0xFFFE;
    f.chunkLength = 40;
    auto v = Wav(f, 4, 4);
    // Sub-format GUID at offset 24 of the chunk body: PCM is 1.
    const std::size_t body = 12 + 8;
    v[body + 24] = 1;
    WavReader r;
    EXPECT_TRUE(Parse(r, v)) << r.Error();
}

TEST(WavReader, RefusesUnusableSourcesWithAReason) {
    struct Case {
        Format f;
        const char* reason;
    };
    Format stereo, hiRate, eightBit, mulaw;
    stereo.channels = 2;
    hiRate.rate = 44100;
    eightBit.bits = 8;
    mulaw.tag = 7;
    mulaw.bits = 8;
    for (const auto& c :
         {Case{stereo, "모노가 아닙니다 (채널 2개)"}, Case{hiRate, "8000 Hz가 아닙니다 (44100 Hz)"},
          Case{eightBit, "16비트 샘플이 아닙니다 (8비트)"},
          Case{mulaw, "PCM 소리가 아닙니다 (형식 7), 16비트 PCM을 쓰십시오"}}) {
        WavReader r;
        EXPECT_FALSE(Parse(r, Wav(c.f, 16, 16)));
        EXPECT_EQ(r.Error(), c.reason);
        EXPECT_TRUE(r.Data().empty());
    }
}

TEST(WavReader, RefusesBrokenFiles) {
    WavReader r;
    EXPECT_FALSE(r.Parse(nullptr, 0));
    EXPECT_EQ(r.Error(), "파일이 너무 짧아 WAV 파일이 아닙니다");
    std::vector<std::uint8_t> notRiff(100, 'a');
    EXPECT_FALSE(Parse(r, notRiff));
    EXPECT_EQ(r.Error(), "WAV 파일이 아닙니다 (RIFF/WAVE 머리말 없음)");
    auto noData = Wav({}, 0, 0);
    noData.resize(noData.size() - 8);
    EXPECT_FALSE(Parse(r, noData));
    EXPECT_EQ(r.Error(), "data 청크가 없습니다");
    auto shortFmt = Wav({}, 0, 0);
    shortFmt.resize(12 + 8 + 6);
    EXPECT_FALSE(Parse(r, shortFmt));
    EXPECT_EQ(r.Error(), "fmt 청크가 너무 짧습니다");
    // A chunk length that points far past the end ends the walk cleanly.
    auto huge = Wav({}, 0, 0);
    huge.resize(12);
    Tag(huge, "JUNK");
    Put32(huge, 0xFFFFFFF0u);
    EXPECT_FALSE(Parse(r, huge));
    EXPECT_EQ(r.Error(), "fmt 청크가 없습니다");
}

TEST(WavReader, OpensFilesAndExplainsMissingOrEmptyOnes) {
    vt::test::TestEnvironment env;
    const auto path = env.Root() / "in.wav";
    const auto v = Wav({}, 320, 320);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(v.data()), static_cast<long>(v.size()));
    WavReader r;
    ASSERT_TRUE(r.Open(path)) << r.Error();
    EXPECT_EQ(r.SampleCount(), 160u);
    EXPECT_FALSE(r.Open(env.Root() / "absent.wav"));
    EXPECT_EQ(r.Error().rfind((env.Root() / "absent.wav").string() + "을(를) 열 수 없습니다: ", 0),
              0u)
        << r.Error();
    const auto empty = env.Root() / "empty.wav";
    std::ofstream(empty, std::ios::binary).close();
    EXPECT_FALSE(r.Open(empty));
    EXPECT_EQ(r.Error(), "파일이 너무 짧아 WAV 파일이 아닙니다");
}
