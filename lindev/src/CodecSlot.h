#pragma once
// The codec conversions of one slot: one decoder thread and one encoder
// thread, each running a CodecConversion with its own copy of the job and
// its own load of the codec library, so a decoder and an encoder may run on
// the same slot at once. Conversions never touch the adapter.
//
// Starting a conversion while the previous one of its kind still runs waits
// for that one to end first (it is never abandoned). StopAll, for the slot's
// destruction, asks running conversions to stop, waits for them and removes
// their unfinished destinations; a conversion stopped that way posts no
// WM_TY_CODECDONE, because the window it would post to may be gone by then.

#include <atomic>
#include <mutex>
#include <thread>

#include "CodecConversion.h"
#include "CodecJob.h"

namespace lindev {

class CodecSlot {
public:
    CodecSlot(CodecConversion::PostFn post, CodecConversion::LogFn log);
    ~CodecSlot();
    CodecSlot(const CodecSlot&) = delete;
    CodecSlot& operator=(const CodecSlot&) = delete;

    // 1 started, 0 refused: a path missing or longer than its 511-byte field
    // (logged), or no thread could be made.
    int StartDecoder(bool muLaw, const char* source, const char* destination, int volume,
                     int scale);
    int StartEncoder(const char* source, const char* destination, int volume, int rate, int silence,
                     int scale);
    void StopAll();

    // The encoder's rate argument to the codec's rate: 0 -> 2, 1 -> 1, 2 -> 0,
    // anything else -> 2.
    static std::uint8_t MapEncoderRate(int rate);

private:
    struct Worker {
        std::mutex mutex;  // one start or stop at a time
        std::thread thread;
        std::atomic<bool> stop{false};
        CodecJob job;
    };

    int Start(Worker& worker, CodecJob& job, const char* source, const char* destination,
              const char* name);
    void Join(Worker& worker);
    void RunWorker(Worker& worker);

    CodecConversion::PostFn post_;
    CodecConversion::LogFn log_;
    Worker decoder_;
    Worker encoder_;
};

}  // namespace lindev
