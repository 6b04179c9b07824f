#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "speechcodec/MuLaw.h"
#include "testsupport/TestEnvironment.h"

using namespace speechcodec;

namespace {

// The mu-law quantiser as the standard tabulates it: 128 magnitude codes
// over 8 segments of 16 steps; segment s spans [ends[s], ends[s+1]) on the
// 14-bit magnitude scale with steps of 2^(s+1), except that the first step
// of segment 0 is half wide. Built from the decision values, not bit tricks.
std::vector<int> DecisionValues() {
    std::vector<int> d{0, 1};  // code 0: [0, 1)
    int value = 1;
    for (int s = 0; s < 8; ++s) {
        const int step = 2 << s;
        for (int i = (s == 0 ? 1 : 0); i < 16; ++i) {
            value += step;
            d.push_back(value);
        }
    }
    return d;  // 129 values: d[k] <= magnitude < d[k+1] gives code k
}

std::uint8_t ReferenceEncode(int sample, const std::vector<int>& d) {
    // Two's complement 14-bit values: a negative value v stands for the
    // interval below zero, so its magnitude is -v - 1 (symmetric about -0.5).
    const int v14 = sample >= 0 ? sample / 4 : -((-sample + 3) / 4);
    const int magnitude = v14 >= 0 ? v14 : -v14 - 1;
    int code = 127;
    for (int k = 0; k < 128; ++k) {
        if (magnitude < d[k + 1]) {
            code = k;
            break;
        }
    }
    return static_cast<std::uint8_t>((sample >= 0 ? 0xFF : 0x7F) - code);
}

int ReferenceDecode(std::uint8_t byte, const std::vector<int>& d) {
    const int code = byte >= 0x80 ? 0xFF - byte : 0x7F - byte;
    // The middle of the code's interval on the 14-bit scale, times 4; the
    // half-wide first interval reconstructs to 0.
    const int mid4 = code == 0 ? 0 : 2 * (d[code] + d[code + 1]);
    return byte >= 0x80 ? mid4 : -mid4;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(MuLaw, EverySampleValueMatchesTheStandardsDecisionTable) {
    const auto d = DecisionValues();
    ASSERT_EQ(d.size(), 129u);
    ASSERT_EQ(d[128], 8159);
    for (int x = -32768; x <= 32767; ++x)
        ASSERT_EQ(MuLawEncode(static_cast<std::int16_t>(x)), ReferenceEncode(x, d)) << x;
}

TEST(MuLaw, EveryCodeDecodesToItsIntervalsMiddle) {
    const auto d = DecisionValues();
    for (int c = 0; c < 256; ++c)
        ASSERT_EQ(MuLawDecode(static_cast<std::uint8_t>(c)), ReferenceDecode(c, d)) << c;
    EXPECT_EQ(MuLawDecode(0xFF), 0);
    EXPECT_EQ(MuLawDecode(0x80), 32124);
    EXPECT_EQ(MuLawDecode(0x00), -32124);
}

TEST(MuLaw, DecodedValuesEncodeBackToTheirCode) {
    for (int c = 0; c < 256; ++c) {
        if (c == 0x7F)
            continue;  // negative zero decodes to 0, which is positive zero
        EXPECT_EQ(MuLawEncode(MuLawDecode(static_cast<std::uint8_t>(c))), c) << c;
    }
    EXPECT_EQ(MuLawEncode(0), 0xFF);
    EXPECT_EQ(MuLawEncode(-1), 0x7F);
}

TEST(MuLaw, ByteBufferVersionMatchesSampleVersion) {
    const std::vector<std::int16_t> samples{0, 1, -1, 1000, -1000, 32767, -32768, 123};
    std::vector<std::uint8_t> pcm;
    for (auto s : samples) {
        pcm.push_back(static_cast<std::uint8_t>(s));
        pcm.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8));
    }
    std::vector<std::uint8_t> out(samples.size());
    MuLawEncodePcmBytes(pcm.data(), samples.size(), out.data());
    for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(out[i], MuLawEncode(samples[i]));
}

// sox is an independent implementation. Its decoder agrees on every code.
// Its encoder first rounds a sample to 14 bits (where G.191 keeps the 14 most
// significant bits) and takes negative magnitudes in two's complement, so
// for some samples it picks the neighbouring level: it must agree exactly
// where both readings of the sample coincide (non-negative samples whose two
// low bits are 00 or 01) and be at most one level away everywhere else.
TEST(MuLaw, AgreesWithSox) {
    vt::test::TestEnvironment env;
    const auto root = env.Root();
    std::vector<std::uint8_t> codes(256), pcm;
    for (int c = 0; c < 256; ++c) codes[c] = static_cast<std::uint8_t>(c);
    for (int x = -32768; x <= 32767; ++x) {
        pcm.push_back(static_cast<std::uint8_t>(x));
        pcm.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(x) >> 8));
    }
    std::ofstream(root / "codes.ul", std::ios::binary)
        .write(reinterpret_cast<const char*>(codes.data()), 256);
    std::ofstream(root / "all.raw", std::ios::binary)
        .write(reinterpret_cast<const char*>(pcm.data()), static_cast<long>(pcm.size()));
    const std::string q = "'" + root.string() + "/";
    const std::string decode = "sox -D -t raw -r 8000 -e mu-law -b 8 -c 1 " + q +
                               "codes.ul' -t raw -e signed -b 16 " + q + "codes.raw' 2>/dev/null";
    const std::string encode = "sox -D -t raw -r 8000 -e signed -b 16 -c 1 " + q +
                               "all.raw' -t raw -e mu-law -b 8 " + q + "all.ul' 2>/dev/null";
    if (std::system(decode.c_str()) != 0 || std::system(encode.c_str()) != 0)
        GTEST_SKIP() << "sox is not installed";
    const auto decoded = ReadFile(root / "codes.raw");
    ASSERT_EQ(decoded.size(), 512u);
    for (int c = 0; c < 256; ++c) {
        const auto v = static_cast<std::int16_t>(decoded[2 * c] | (decoded[2 * c + 1] << 8));
        EXPECT_EQ(MuLawDecode(static_cast<std::uint8_t>(c)), v) << "code " << c;
    }
    std::vector<int> levels;
    for (int c = 0; c < 256; ++c) levels.push_back(MuLawDecode(static_cast<std::uint8_t>(c)));
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    auto rank = [&](std::uint8_t code) {
        return std::lower_bound(levels.begin(), levels.end(), MuLawDecode(code)) - levels.begin();
    };
    const auto encoded = ReadFile(root / "all.ul");
    ASSERT_EQ(encoded.size(), 65536u);
    int exact = 0;
    for (int x = -32768; x <= 32767; ++x) {
        const std::uint8_t ours = MuLawEncode(static_cast<std::int16_t>(x));
        const std::uint8_t theirs = encoded[x + 32768];
        if (x >= 0 && (x & 3) < 2) {
            ASSERT_EQ(ours, theirs) << x;
            ++exact;
        } else {
            ASSERT_LE(std::abs(rank(ours) - rank(theirs)), 1) << x;
        }
    }
    EXPECT_EQ(exact, 16384);
}
