// The C entry points of libtrc.so over per-thread codec states.

#include <bit>
#include <cstring>
#include <memory>

#include "TrcDecoder.h"
#include "TrcEncoder.h"
#include "speechcodec/TrcApi.h"
#include "speechcodec/VrcFormat.h"

static_assert(std::endian::native == std::endian::little, "PCM bytes are copied as samples");

namespace {

using speechcodec::kFrameBytes;
using speechcodec::kFrameSamples;

// Each thread gets its own states, so a decoder on one thread and an
// encoder (or another decoder) on another never share anything.
struct ThreadStates {
    std::unique_ptr<speechcodec::TrcEncoder> encoder;
    std::unique_ptr<speechcodec::TrcDecoder> decoder;
};
thread_local ThreadStates states;

speechcodec::TrcEncoder& Encoder() {
    if (!states.encoder)
        states.encoder = std::make_unique<speechcodec::TrcEncoder>();
    return *states.encoder;
}

speechcodec::TrcDecoder& Decoder() {
    if (!states.decoder)
        states.decoder = std::make_unique<speechcodec::TrcDecoder>();
    return *states.decoder;
}

}  // namespace

extern "C" {

TRC_API void vInitDecoder(void) {
    try {
        Decoder().Reset();
    } catch (...) {
        states.decoder.reset();
    }
}

TRC_API void vInitEncoder(void) {
    try {
        Encoder().Reset();
    } catch (...) {
        states.encoder.reset();
    }
}

TRC_API void vSet_volume(int decoderVolume, int encoderVolume) {
    try {
        Decoder().SetVolume(decoderVolume);
        Encoder().SetVolume(encoderVolume);
    } catch (...) {
    }
}

TRC_API int vDecode(unsigned char* pcm, const unsigned char* frame) {
    if (!pcm)
        return -1;
    std::int16_t samples[kFrameSamples] = {};
    bool ok = false;
    if (frame) {
        try {
            ok = Decoder().Decode(frame, samples);
        } catch (...) {
            std::memset(samples, 0, sizeof samples);
        }
    }
    std::memcpy(pcm, samples, kFrameBytes);  // little-endian host
    return ok ? 0 : -1;
}

TRC_API int vEncode(const unsigned char* pcm, unsigned char* out, int rate, int /*reserved*/) {
    if (!pcm || !out)
        return 0;
    std::int16_t samples[kFrameSamples];
    std::memcpy(samples, pcm, kFrameBytes);
    try {
        return Encoder().Encode(samples, rate, out);
    } catch (...) {
        return 0;
    }
}

TRC_API unsigned char LSB(int count) {
    return count < 0 ? 0 : static_cast<unsigned char>(count % 10);
}

TRC_API unsigned char HSB(int count) {
    return count < 0 ? 0 : static_cast<unsigned char>(count / 10);
}

}  // extern "C"
