#pragma once
// libmp3conv.so: WAV to MP3 export on LAME.
//
// Reads an 8 kHz (or other rate) mono or stereo WAV of 16-bit or 8-bit PCM
// or G.711 mu-law and writes a mono MP3: constant 24 kbit/s, at the input's
// sample rate when it is 8 kHz (MPEG 2.5), a rate that keeps telephone
// speech (300-3400 Hz) clear at about 11 MB an hour.
//
// The MP3 is written under a temporary name beside the target and renamed
// over it only when the export succeeded, so a failed export leaves no
// partial file and an older MP3 of that name untouched.

#include "platform/MessageWindow.h"

// Progress message posted to the window: wParam amount done, lParam total
// (bytes of sound data; both scaled down together past 2 GiB).
inline constexpr vt::UINT Mp3Progress = vt::WM_USER + 1;

// Results of Kvne_WavtoMp3.
enum Mp3Result : int {
    kMp3Ok = 0,
    kMp3BadArgument = 1,    // a path is null or empty
    kMp3CannotOpen = 2,     // the WAV file cannot be opened
    kMp3NotWav = 3,         // not a WAV file of a kind that can be converted
    kMp3CannotCreate = 4,   // the MP3 file cannot be created
    kMp3EncoderFailed = 5,  // the encoder refused its settings or the data
    kMp3ReadFailed = 6,     // reading the WAV failed part-way
    kMp3WriteFailed = 7,    // writing the MP3 failed (disk full ...)
    kMp3SameFile = 8,       // source and target are the same file
};

#define MP3CONV_API __attribute__((visibility("default")))

extern "C" {

// Converts wavPath to mp3Path (UTF-8 paths), synchronously. Progress goes to
// `window` (may be null) as Mp3Progress: first 0 of total, last total of
// total, in between at most about a thousand steps. Returns kMp3Ok (0) or
// another Mp3Result.
MP3CONV_API int Kvne_WavtoMp3(vt::HWND window, const char* wavPath, const char* mp3Path);

// A short English text for a result of Kvne_WavtoMp3 (never null).
MP3CONV_API const char* Kvne_Mp3ResultText(int result);

}  // extern "C"

// The encoder's settings, for documentation and tests.
inline constexpr int kMp3BitRateKbps = 24;
