#pragma once
// A compressed recording to a 16-bit PCM WAV through the codec library
// "libtrc.so", loaded for the conversion and released at its end. Shared by
// the player and the mail outbox, so both hear the same sound.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace speechcodec {

enum class VrcToWavResult {
    Ok,
    NoCodec,       // the library or one of its entry points is missing
    CannotRead,    // the recording cannot be read
    CannotCreate,  // the WAV cannot be written
    Cancelled,     // `cancel` was set
};

struct VrcToWavJob {
    std::string source;
    std::string destination;
    std::uint16_t volume = 1024;
    int progressScale = 100;
};

// Converts on the calling thread. `progress` (may be empty) gets each new
// progress value out of job.progressScale; `cancel` (may be null) is polled
// between records. A failed conversion may leave a partial destination: the
// caller owns that file and removes it.
VrcToWavResult ConvertVrcToWav(const VrcToWavJob& job, const std::function<void(int)>& progress,
                               const std::atomic<bool>* cancel);

}  // namespace speechcodec
