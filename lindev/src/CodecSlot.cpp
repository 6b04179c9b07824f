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
    CodecJob job;
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
    Join(worker);  // the previous conversion of this kind runs to its end first
    worker.job = job;
    worker.stop.store(false);
    try {
        worker.thread = std::thread(&CodecSlot::RunWorker, this, std::ref(worker));
    } catch (const std::system_error&) {
        return 0;
    }
    return 1;
}

void CodecSlot::RunWorker(Worker& worker) {
    CodecConversion conversion(worker.job, post_, log_, worker.stop);
    const int result = conversion.Run();
    if (result != kCodecStopped)
        post_(WM_TY_CODECDONE, CodecConversion::DoneCode(worker.job.kind, result));
}

void CodecSlot::Join(Worker& worker) {
    if (worker.thread.joinable())
        worker.thread.join();
}

void CodecSlot::StopAll() {
    // Both are asked first, so they wind down together.
    decoder_.stop.store(true);
    encoder_.stop.store(true);
    for (Worker* worker : {&decoder_, &encoder_}) {
        std::lock_guard lock(worker->mutex);
        worker->stop.store(true);
        Join(*worker);
    }
}

}  // namespace lindev
