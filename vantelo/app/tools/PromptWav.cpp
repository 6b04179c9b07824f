// Build tool: wraps raw 8 kHz mu-law bytes into the 44-byte WAV the line
// library plays (format 7), for the shipped prompts.
//   promptwav RAW OUT.wav

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "speechcodec/WavHeader.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: promptwav RAW OUT.wav\n");
        return 64;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "promptwav: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> data((std::istreambuf_iterator<char>(in)), {});
    const auto header = speechcodec::WavHeader::Make(speechcodec::WavEncoding::MuLaw,
                                                     static_cast<std::uint32_t>(data.size()));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) {
        std::fprintf(stderr, "promptwav: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
