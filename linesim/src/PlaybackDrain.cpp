#include "linesim/PlaybackDrain.h"

#include <algorithm>

#include "speechcodec/VrcFormat.h"

namespace linesim {

namespace {

constexpr std::uint64_t kUsPerByte = 125;  // 8000 bytes a second
constexpr std::uint64_t kUsPerFrame = 20000;

}  // namespace

void PlaybackDrain::Start(Format format, std::uint64_t announced, std::uint64_t nowMs) {
    active_ = true;
    format_ = format;
    announced_ = announced;
    received_ = 0;
    lastDataMs_ = nowMs;
    clockUs_ = nowMs * 1000;
    buffer_.clear();
}

void PlaybackDrain::Stop() {
    active_ = false;
    buffer_.clear();
}

std::uint32_t PlaybackDrain::Accept(const std::uint8_t* data, std::uint32_t length,
                                    std::uint64_t nowMs) {
    if (!active_) return 0;
    const std::uint64_t room = kBufferBytes - std::min<std::uint64_t>(kBufferBytes, buffer_.size());
    const auto accepted = static_cast<std::uint32_t>(std::min<std::uint64_t>(room, length));
    if (accepted == 0) return 0;
    if (buffer_.empty()) clockUs_ = std::max(clockUs_, nowMs * 1000);
    buffer_.insert(buffer_.end(), data, data + accepted);
    received_ += accepted;
    lastDataMs_ = nowMs;
    return accepted;
}

void PlaybackDrain::Advance(std::uint64_t nowMs, std::uint32_t speed) {
    if (!active_) return;
    const std::uint64_t nowUs = nowMs * 1000;
    if (format_ == Format::WavData) {
        if (nowUs > clockUs_ && !buffer_.empty()) {
            const std::uint64_t due = (nowUs - clockUs_) * speed / kUsPerByte;
            const std::uint64_t take = std::min<std::uint64_t>(due, buffer_.size());
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(take));
            played_ += take;
            clockUs_ += take * kUsPerByte / speed;
        }
    } else {
        while (!buffer_.empty()) {
            const std::size_t length = speechcodec::RecordLength(buffer_[0]);
            if (buffer_.size() < length) break;
            const std::uint32_t frames =
                speechcodec::KindOf(buffer_[0]) == speechcodec::RecordKind::SilenceRun
                    ? speechcodec::SilenceRunFrames(buffer_[0], buffer_[1])
                    : 1;
            const std::uint64_t duration = frames * kUsPerFrame / speed;
            if (clockUs_ + duration > nowUs) break;
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length));
            played_ += length;
            clockUs_ += duration;
        }
    }
    if (buffer_.empty()) clockUs_ = std::max(clockUs_, nowUs);
    const bool allPlayed = received_ >= announced_ && buffer_.empty();
    // A cut-off compressed record can never play: it is dropped with the stream.
    const bool quiet = nowMs - lastDataMs_ >= kIdleEndMs &&
                       (buffer_.empty() || format_ == Format::Compressed);
    if (allPlayed || quiet) Stop();
}

}  // namespace linesim
