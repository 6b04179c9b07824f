#include "RecordedAudioFeed.h"

#include <cstring>

#include "CodecLibrary.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/VrcFormat.h"

namespace lindev {

namespace {

constexpr std::size_t kFrame = LineAudioDetector::kFrameSamples;

}  // namespace

bool RecordedAudioFeed::CodecReady() {
    if (!triedCodec_) {
        triedCodec_ = true;
        const std::string path = CodecLibraryPath();
        if (path.empty() ? trc_.Load() : trc_.LoadFrom(path)) {
            trc_.vInitDecoder();
            trc_.vSet_volume(speechcodec::kUnityVolume, speechcodec::kUnityVolume);
        }
    }
    return trc_.Loaded();
}

void RecordedAudioFeed::Add(const std::uint8_t* data, std::size_t length) {
    pending_.insert(pending_.end(), data, data + length);
    std::size_t at = 0;
    if (mode_ == 0) {
        std::int16_t pcm[kFrame];
        for (; pending_.size() - at >= kFrame; at += kFrame) {
            for (std::size_t i = 0; i < kFrame; ++i)
                pcm[i] = speechcodec::MuLawDecode(pending_[at + i]);
            detector_.Feed(pcm, pendingOffset_ + at, pendingOffset_ + at + kFrame);
        }
    } else {
        while (at < pending_.size()) {
            const std::size_t n = speechcodec::RecordLength(pending_[at]);
            if (pending_.size() - at < n)
                break;
            AddRecord(&pending_[at], n, pendingOffset_ + at);
            at += n;
        }
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    pendingOffset_ += at;
}

void RecordedAudioFeed::AddRecord(const std::uint8_t* record, std::size_t length,
                                  std::uint64_t begin) {
    const std::uint64_t end = begin + length;
    switch (speechcodec::KindOf(record[0])) {
        case speechcodec::RecordKind::SilenceRun:
            detector_.FeedSilence(speechcodec::SilenceRunFrames(record[0], record[1]), begin, end);
            return;
        case speechcodec::RecordKind::ComfortNoise:
            detector_.FeedSilence(1, begin, end);
            return;
        default:
            break;
    }
    std::int16_t pcm[kFrame];
    if (!CodecReady()) {
        detector_.FeedUnheard(begin, end);
        return;
    }
    std::memcpy(frame_, record, length);
    std::uint8_t bytes[2 * kFrame];
    trc_.vDecode(bytes, frame_);
    for (std::size_t i = 0; i < kFrame; ++i)
        pcm[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    detector_.Feed(pcm, begin, end);
}

}  // namespace lindev
