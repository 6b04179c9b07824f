#pragma once
// The seven entry points of libtrc.so, the speech codec that converts
// between 20 ms frames of 8 kHz 16-bit PCM (160 samples, 320 bytes) and the
// records of a compressed recording. Callers normally load the library by
// name with dlopen and resolve these symbols (see TrcModule.h); the pointer
// types below are what they resolve to.
//
// State: every thread that calls the library has its own encoder and its own
// decoder (created on first use, freed when the thread ends), so conversions
// on different threads never share state. A conversion makes its init call,
// vSet_volume and its per-frame calls on one thread.

#include <cstdint>

#if defined(TRC_BUILDING)
#define TRC_API __attribute__((visibility("default")))
#else
#define TRC_API
#endif

extern "C" {

// Resets the calling thread's decoder (all codecs, comfort noise, volume 1024).
TRC_API void vInitDecoder(void);
// Resets the calling thread's encoder (all codecs, silence detector, volume 1024).
TRC_API void vInitEncoder(void);
// decoderVolume scales what vDecode writes, encoderVolume what vEncode reads;
// 1024 is unity, 0 mutes, values are clamped to 0..65535. Callers pass the
// same value twice. Applies to the calling thread until its next init call.
TRC_API void vSet_volume(int decoderVolume, int encoderVolume);
// Decodes the record at the start of frame (a 24-byte buffer; only the
// record's own length is read) into 160 samples (320 bytes, little-endian)
// at pcm. 0 on success; -1 when the record could not be decoded, in which
// case the 320 bytes are silence.
TRC_API int vDecode(unsigned char* pcm, const unsigned char* frame);
// Encodes 160 samples (320 bytes) into out (24 bytes). rate 0 gives 11-byte
// codec2 frames, 1 gives 18-byte and 2 (or any other value) 24-byte Opus
// frames; near-silent input gives 4-byte comfort-noise frames and silence
// the 2-byte frame 0xE0 0x00. Returns the record's length; 0 for null buffers.
TRC_API int vEncode(const unsigned char* pcm, unsigned char* out, int rate, int reserved);
// The digits a silence-run record is built from: HSB(x) = x / 10, LSB(x) = x % 10
// (both 0 for negative x).
TRC_API unsigned char LSB(int count);
TRC_API unsigned char HSB(int count);

}  // extern "C"

namespace speechcodec {

using VInitDecoderFn = void (*)();
using VInitEncoderFn = void (*)();
using VSetVolumeFn = void (*)(int, int);
using VDecodeFn = int (*)(unsigned char*, const unsigned char*);
using VEncodeFn = int (*)(const unsigned char*, unsigned char*, int, int);
using LsbFn = unsigned char (*)(int);
using HsbFn = unsigned char (*)(int);

// Values of vEncode's rate argument.
inline constexpr int kRateCodec2 = 0;    // 11-byte records
inline constexpr int kRateOpus7200 = 1;  // 18-byte records
inline constexpr int kRateOpus9600 = 2;  // 24-byte records

// The coding rate the simulated adapter uses in compressed record mode 1..3
// (mode 1, the setting "high compression", gives the smallest frames).
constexpr int RateForRecordMode(int mode) {
    return mode == 1 ? kRateCodec2 : mode == 2 ? kRateOpus7200 : kRateOpus9600;
}

inline constexpr std::uint16_t kUnityVolume = 1024;

}  // namespace speechcodec
