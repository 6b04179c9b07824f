#pragma once
// One codec conversion from start to end on the calling thread: a
// compressed recording to a 16-bit PCM or mu-law WAV file, or a PCM WAV file
// to a compressed recording. It owns its own load of the codec library, so
// conversions running side by side never release each other's library.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CodecJob.h"
#include "platform/MessageWindow.h"
#include "speechcodec/TrcModule.h"

namespace lindev {

// Results of a conversion (0 is success), mapped to the done code by DoneCode.
enum CodecResult : int {
    kCodecOk = 0,
    kCodecNoLibrary = 241,  // the codec library is missing or lacks an entry point
    kCodecNoSource = 242,   // the source cannot be read
    kCodecBadTarget = 243,  // the destination cannot be created; encoder: source not a usable WAV
    // Writing failed, the WAV size limit was reached, or the codec misbehaved.
    kCodecWriteFailed = 244,
    kCodecStopped = 245,  // asked to stop (the library is unloading)
    // Failures of a platform audio compression driver; the direct G.711
    // encoder used here cannot fail that way, so these never arise.
    kCodecNoDriver = 246,
    kCodecNoStream = 247,
};

class CodecConversion {
public:
    using PostFn = std::function<void(vt::UINT message, vt::LPARAM lParam)>;
    using LogFn = std::function<void(const std::string& text)>;

    // The job and the stop flag must outlive Run.
    CodecConversion(const CodecJob& job, PostFn post, LogFn log, const std::atomic<bool>& stop);

    // Runs the conversion, posting WM_TY_CODECPROGRESS whenever the progress
    // value changes; the result code. Does not post WM_TY_CODECDONE.
    int Run();

    // The lParam of WM_TY_CODECDONE: 0 for success; 2 for an encoder whose
    // source is not a usable WAV file or whose destination cannot be
    // created; 1 for every other failure.
    static vt::LPARAM DoneCode(CodecKind kind, int result);

    // Bytes of sound data a WAV header can describe (its RIFF length is 32 bits).
    static constexpr std::uint64_t kMaxWavData = 0xFFFFFFFFull - 36;

private:
    int Decode();
    int Encode();
    bool LoadCodec();
    // Loads and readies the codec for the job and reads the whole source;
    // kCodecOk, or the failure, already logged.
    int Prepare(std::vector<std::uint8_t>& source);
    void Progress(std::uint64_t consumed, std::uint64_t total);
    // Logs the failure (the decoder-to-mu-law one with its fixed numbered text).
    int Fail(int result, const std::string& reason);
    const char* Name() const;

    const CodecJob& job_;
    PostFn post_;
    LogFn log_;
    const std::atomic<bool>& stop_;
    speechcodec::TrcModule trc_;
    vt::LPARAM lastProgress_ = 0;
};

}  // namespace lindev
