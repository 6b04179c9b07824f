// The 44-byte header parser and the WAV source reader on arbitrary bytes.

#include <cstdint>
#include <cstdlib>

#include "speechcodec/WavHeader.h"
#include "speechcodec/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace speechcodec;
    std::string why;
    if (auto header = WavHeader::Parse(data, size, &why)) {
        const auto again =
            WavHeader::Make(static_cast<WavEncoding>(header->formatTag), header->dataLength);
        if (!WavHeader::Parse(again.data(), again.size()))
            std::abort();
    } else if (why.empty()) {
        std::abort();
    }
    WavReader reader;
    if (reader.Parse(data, size)) {
        if (reader.Data().size() > size || reader.Data().size() % 2)
            std::abort();
    } else if (reader.Error().empty() || !reader.Data().empty()) {
        std::abort();
    }
    return 0;
}
