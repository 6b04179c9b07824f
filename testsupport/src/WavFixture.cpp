#include "testsupport/WavFixture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace vt::test {

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<std::uint8_t> Header(unsigned format, unsigned rate, unsigned bits,
                                 std::uint32_t dataLength) {
    std::vector<std::uint8_t> h;
    const unsigned blockAlign = bits / 8;
    for (char c : std::string_view("RIFF")) h.push_back(static_cast<std::uint8_t>(c));
    Put32(h, dataLength + 36);
    for (char c : std::string_view("WAVEfmt ")) h.push_back(static_cast<std::uint8_t>(c));
    Put32(h, 16);
    Put16(h, format);
    Put16(h, 1);
    Put32(h, rate);
    Put32(h, rate * blockAlign);
    Put16(h, blockAlign);
    Put16(h, bits);
    for (char c : std::string_view("data")) h.push_back(static_cast<std::uint8_t>(c));
    Put32(h, dataLength);
    return h;
}

bool WriteAll(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::vector<std::int16_t> SpeechLikeSamples(unsigned ms, unsigned sampleRate) {
    const std::size_t n = static_cast<std::size_t>(ms) * sampleRate / 1000;
    std::vector<std::int16_t> s(n);
    const double kPi = 3.14159265358979323846;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double pitch = 120.0 + 30.0 * std::sin(2 * kPi * 0.7 * t);
        const double syllable = 0.5 - 0.5 * std::cos(2 * kPi * 3.0 * t);
        double v = 0;
        for (int h = 1; h <= 8; ++h) v += std::sin(2 * kPi * pitch * h * t) / h;
        s[i] = static_cast<std::int16_t>(6000.0 * syllable * v);
    }
    return s;
}

bool WritePcmWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
                 unsigned sampleRate) {
    auto bytes = Header(1, sampleRate, 16, static_cast<std::uint32_t>(samples.size() * 2));
    for (std::int16_t v : samples) Put16(bytes, static_cast<std::uint16_t>(v));
    return WriteAll(file, bytes);
}

bool WriteMuLawWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples) {
    auto bytes = Header(7, 8000, 8, static_cast<std::uint32_t>(samples.size()));
    for (std::int16_t v : samples) bytes.push_back(MuLawEncode(v));
    return WriteAll(file, bytes);
}

std::uint8_t MuLawEncode(std::int16_t sample) {
    constexpr int kBias = 0x84;
    constexpr int kClip = 32635;
    int v = sample;
    int sign = (v < 0) ? 0x80 : 0;
    if (v < 0)
        v = -v;
    if (v > kClip)
        v = kClip;
    v += kBias;
    int exponent = 7;
    for (int mask = 0x4000; (v & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
    int mantissa = (v >> (exponent + 3)) & 0x0F;
    return static_cast<std::uint8_t>(~(sign | (exponent << 4) | mantissa));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<WavInfo> ReadWavInfo(const std::filesystem::path& file) {
    const auto b = ReadBytes(file);
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0)
        return std::nullopt;
    auto le16 = [&](std::size_t at) { return unsigned(b[at] | (b[at + 1] << 8)); };
    auto le32 = [&](std::size_t at) { return std::uint32_t(le16(at) | (le16(at + 2) << 16)); };
    // Walk the chunks: decoders may put others (LIST) before "data".
    WavInfo info;
    info.riffLength = le32(4);
    info.fileBytes = b.size();
    std::size_t at = 12;
    bool haveFormat = false;
    while (at + 8 <= b.size()) {
        const std::uint32_t length = le32(at + 4);
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size()) {
            info.format = le16(at + 8);
            info.channels = le16(at + 10);
            info.sampleRate = le32(at + 12);
            info.bitsPerSample = le16(at + 22);
            haveFormat = true;
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            info.dataBytes = length;
            return haveFormat ? std::optional<WavInfo>(info) : std::nullopt;
        }
        at += 8 + length + (length & 1);
    }
    return std::nullopt;
}

std::optional<WavInfo> DecodeMp3WithLame(const std::filesystem::path& mp3,
                                         const std::filesystem::path& wavOut) {
    const std::string command =
        "lame --quiet --decode '" + mp3.string() + "' '" + wavOut.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return std::nullopt;
    return ReadWavInfo(wavOut);
}

double DurationMs(const WavInfo& info) {
    const double bytesPerSecond =
        double(info.sampleRate) * info.channels * (info.bitsPerSample / 8.0);
    return bytesPerSecond > 0 ? info.dataBytes * 1000.0 / bytesPerSecond : 0.0;
}

}  // namespace vt::test
