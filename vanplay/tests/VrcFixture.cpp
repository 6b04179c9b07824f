#include "VrcFixture.h"

#include <fstream>

#include "speechcodec/TrcModule.h"

namespace vanplay::test {

bool WriteVrc(const std::filesystem::path& file, const std::vector<std::int16_t>& samples) {
    speechcodec::TrcModule codec;
    if (!codec.Load())
        return false;
    codec.vInitEncoder();
    codec.vSet_volume(1024, 1024);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    unsigned char coded[24];
    for (std::size_t at = 0; at + 160 <= samples.size(); at += 160) {
        unsigned char pcm[320];
        for (int i = 0; i < 160; ++i) {
            const auto v = static_cast<std::uint16_t>(samples[at + i]);
            pcm[2 * i] = static_cast<unsigned char>(v);
            pcm[2 * i + 1] = static_cast<unsigned char>(v >> 8);
        }
        const int n = codec.vEncode(pcm, coded, speechcodec::kRateOpus9600, 0);
        if (n <= 0)
            return false;
        out.write(reinterpret_cast<const char*>(coded), n);
    }
    return static_cast<bool>(out);
}

}  // namespace vanplay::test
