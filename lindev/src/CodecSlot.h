#pragma once
// The codec conversions of one slot: one decoder thread and one encoder
// thread, each running a CodecConversion with its own copy of the job and
// its own load of the codec library, so a decoder and an encoder may run on
// the same slot at once. Conversions never touch the adapter.
//
// Starting a conversion while the previous one of its kind still runs does
// not wait for it: the old one is asked to stop and ends on its own thread
// (joined later), and nothing of it is taken for the new one's: it posts no
// more messages and its unfinished output never replaces a file (outputs
// are written under a temporary name and renamed when whole). StopAll, for
// the slot's destruction, asks running conversions to stop and waits for
// them; a conversion stopped that way posts no WM_TY_CODECDONE, because the
// window it would post to may be gone by then.

#include <atomic>
#include <memory>
#include <vector>
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
    // One conversion's thread and its stop flag.
    struct Run {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
        std::shared_ptr<std::atomic<bool>> ended = std::make_shared<std::atomic<bool>>(false);
    };
    struct Worker {
        std::mutex mutex;  // one start or stop at a time
        Run current;
        std::vector<Run> retired;  // asked to stop, ending on their own
        std::uint64_t generation = 0;  // guarded by postMutex_
    };

    int Start(Worker& worker, CodecJob& job, const char* source, const char* destination,
              const char* name);
    void RunWorker(Worker& worker, CodecJob job, std::uint64_t generation,
                   std::shared_ptr<std::atomic<bool>> stop, std::shared_ptr<std::atomic<bool>> ended);
    // Posts for the current conversion of `worker` only.
    void PostFor(Worker& worker, std::uint64_t generation, vt::UINT message, vt::LPARAM lParam);
    static void ReapEnded(Worker& worker);

    CodecConversion::PostFn post_;
    CodecConversion::LogFn log_;
    std::mutex postMutex_;
    Worker decoder_;
    Worker encoder_;
};

}  // namespace lindev
