#include "CodecSlot.h"

#include <cstring>
#include <system_error>

#include "lindev/lindev.h"

namespace lindev {

CodecSlot::CodecSlot(CodecConversion::PostFn post, CodecConversion::LogFn log)
    : post_(std::move(post)), log_(std::move(log)) {}

CodecSlot::~CodecSlot() {
    StopAll();
}

std::uint8_t CodecSlot::MapEncoderRate(int rate) {
    switch (rate) {
        case 1:
            return 1;
        case 2:
            return 0;
        default:
            return 2;
    }
}

int CodecSlot::StartDecoder(bool muLaw, const char* source, const char* destination, int volume,
                            int scale) {
    CodecJob job{};
    job.kind = muLaw ? CodecKind::DecodeMuLaw : CodecKind::DecodePcm;
    job.volume = static_cast<std::uint16_t>(volume);
    job.rate = 0;
    job.silence = 0;
    job.scale = scale;
    return Start(decoder_, job, source, destination, muLaw ? "Decoder1()" : "Decoder()");
}

int CodecSlot::StartEncoder(const char* source, const char* destination, int volume, int rate,
                            int silence, int scale) {
    CodecJob job;
    job.kind = CodecKind::Encode;
    job.volume = static_cast<std::uint16_t>(volume);
    job.rate = MapEncoderRate(rate);
    job.silence = silence;
    job.scale = scale;
    return Start(encoder_, job, source, destination, "Encoder()");
}

int CodecSlot::Start(Worker& worker, CodecJob& job, const char* source, const char* destination,
                     const char* name) {
    if (!CodecJob::StorePath(source, job.source) ||
        !CodecJob::StorePath(destination, job.destination)) {
        const bool sourceBad = !source || std::strlen(source) >= CodecJob::kPathField;
        log_(std::string(name) + " refused: the " + (sourceBad ? "source" : "destination") +
             " path is missing or longer than " + std::to_string(CodecJob::kPathField - 1) +
             " bytes");
        return 0;
    }
    std::lock_guard lock(worker.mutex);
    ReapEnded(worker);
    std::uint64_t generation;
    {
        // From here on, the earlier conversion's messages are dropped.
        std::lock_guard postLock(postMutex_);
        generation = ++worker.generation;
    }
    if (worker.current.thread.joinable()) {
        worker.current.stop->store(true);
        worker.retired.push_back(std::move(worker.current));
    }
    Run run;
    try {
        run.thread = std::thread(&CodecSlot::RunWorker, this, std::ref(worker), job, generation,
                                 run.stop, run.ended);
    } catch (const std::system_error&) {
        return 0;
    }
    worker.current = std::move(run);
    return 1;
}

void CodecSlot::PostFor(Worker& worker, std::uint64_t generation, vt::UINT message,
                        vt::LPARAM lParam) {
    std::lock_guard lock(postMutex_);
    if (generation == worker.generation) post_(message, lParam);
}

void CodecSlot::RunWorker(Worker& worker, CodecJob job, std::uint64_t generation,
                          std::shared_ptr<std::atomic<bool>> stop,
                          std::shared_ptr<std::atomic<bool>> ended) {
    CodecConversion conversion(
        job, [&](vt::UINT message, vt::LPARAM lParam) { PostFor(worker, generation, message, lParam); },
        log_, *stop);
    const int result = conversion.Run();
    if (result != kCodecStopped)
        PostFor(worker, generation, WM_TY_CODECDONE, CodecConversion::DoneCode(job.kind, result));
    ended->store(true);
}

void CodecSlot::ReapEnded(Worker& worker) {
    for (auto it = worker.retired.begin(); it != worker.retired.end();) {
        if (it->ended->load()) {
            it->thread.join();
            it = worker.retired.erase(it);
        } else {
            ++it;
        }
    }
}

void CodecSlot::StopAll() {
    // All are asked first, so they wind down together.
    for (Worker* worker : {&decoder_, &encoder_}) {
        std::lock_guard lock(worker->mutex);
        worker->current.stop->store(true);
        for (Run& run : worker->retired) run.stop->store(true);
    }
    for (Worker* worker : {&decoder_, &encoder_}) {
        std::lock_guard lock(worker->mutex);
        if (worker->current.thread.joinable()) worker->current.thread.join();
        for (Run& run : worker->retired) run.thread.join();
        worker->retired.clear();
    }
}

}  // namespace lindev
