// Arbitrary bytes as a compressed recording, decoded record by record the
// way a conversion does (including the 24-byte frame buffer whose tail
// keeps older bytes): the decoder must never crash or read past a record.

#include <cstdint>
#include <cstring>

#include "TrcDecoder.h"
#include "speechcodec/VrcWalker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace speechcodec;
    static TrcDecoder decoder;
    decoder.Reset();
    VrcWalker walker(data, size);
    VrcRecord r;
    std::uint8_t frame[kFrameBufferBytes] = {};
    std::int16_t pcm[kFrameSamples];
    int budget = 2000;  // long runs only repeat the silent frame
    while (walker.Next(r) && budget-- > 0) {
        std::memcpy(frame, r.bytes, r.length);
        decoder.Decode(frame, pcm);
    }
    return 0;
}
