#include <gtest/gtest.h>

#include <cstring>

#include "speechcodec/WavHeader.h"

using namespace speechcodec;

namespace {

std::uint32_t U32(const WavHeader::Bytes& b, int at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const WavHeader::Bytes& b, int at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
bool TagAt(const WavHeader::Bytes& b, int at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

TEST(WavHeader, PcmHeaderMatchesTheLayout) {
    const auto b = WavHeader::Make(WavEncoding::Pcm16, 320);
    EXPECT_TRUE(TagAt(b, 0, "RIFF"));
    EXPECT_EQ(U32(b, 4), 356u);
    EXPECT_TRUE(TagAt(b, 8, "WAVE"));
    EXPECT_TRUE(TagAt(b, 12, "fmt "));
    EXPECT_EQ(U32(b, 16), 16u);
    EXPECT_EQ(U16(b, 20), 1);
    EXPECT_EQ(U16(b, 22), 1);
    EXPECT_EQ(U32(b, 24), 8000u);
    EXPECT_EQ(U32(b, 28), 16000u);
    EXPECT_EQ(U16(b, 32), 2);
    EXPECT_EQ(U16(b, 34), 16);
    EXPECT_TRUE(TagAt(b, 36, "data"));
    EXPECT_EQ(U32(b, 40), 320u);
}

TEST(WavHeader, MuLawHeaderMatchesTheLayout) {
    const auto b = WavHeader::Make(WavEncoding::MuLaw, 8000);
    EXPECT_EQ(U32(b, 4), 8036u);
    EXPECT_EQ(U16(b, 20), 7);
    EXPECT_EQ(U16(b, 22), 1);
    EXPECT_EQ(U32(b, 24), 8000u);
    EXPECT_EQ(U32(b, 28), 8000u);
    EXPECT_EQ(U16(b, 32), 1);
    EXPECT_EQ(U16(b, 34), 8);
    EXPECT_EQ(U32(b, 40), 8000u);
}

TEST(WavHeader, ParseReadsBackWhatMakeWrote) {
    for (auto enc : {WavEncoding::Pcm16, WavEncoding::MuLaw}) {
        const auto b = WavHeader::Make(enc, 123456);
        const auto h = WavHeader::Parse(b.data(), b.size());
        ASSERT_TRUE(h.has_value());
        EXPECT_EQ(h->formatTag, static_cast<std::uint16_t>(enc));
        EXPECT_EQ(h->channels, 1);
        EXPECT_EQ(h->sampleRate, 8000u);
        EXPECT_EQ(h->dataLength, 123456u);
        EXPECT_EQ(h->riffLength, 123456u + 36);
        EXPECT_EQ(h->bitsPerSample, enc == WavEncoding::Pcm16 ? 16 : 8);
    }
}

TEST(WavHeader, ParseRefusesWhatIsNotTheHeader) {
    const auto b = WavHeader::Make(WavEncoding::Pcm16, 0);
    std::string why;
    EXPECT_FALSE(WavHeader::Parse(b.data(), 43, &why));
    EXPECT_EQ(why, "44바이트 WAV 머리말보다 짧습니다");
    why.clear();
    EXPECT_FALSE(WavHeader::Parse(nullptr, 44, &why));
    EXPECT_EQ(why, "44바이트 WAV 머리말보다 짧습니다");
    struct Case {
        std::size_t at;
        std::uint8_t byte;
        const char* reason;
    };
    for (const Case& c :
         {Case{0, 'X', "RIFF WAVE 파일이 아닙니다"}, Case{8, 'X', "RIFF WAVE 파일이 아닙니다"},
          Case{16, 18, "12번 위치에 16바이트 fmt 청크가 없습니다"},
          Case{36, 'L', "36번 위치에 data 청크가 없습니다"}}) {
        auto bad = b;
        bad[c.at] = c.byte;
        EXPECT_FALSE(WavHeader::Parse(bad.data(), bad.size(), &why));
        EXPECT_EQ(why, c.reason) << "byte " << c.at;
    }
}
