#include "linesim/RecordStream.h"

#include <algorithm>
#include <cstring>

#include "speechcodec/MuLaw.h"
#include "speechcodec/TrcApi.h"
#include "speechcodec/VrcFormat.h"
#include "usbline/AdapterProtocol.h"

namespace linesim {

namespace {

using usbline::protocol::kRecordPayload;
using usbline::protocol::kRecordSize;
// Two of the largest compressed frames fit in one record.
static_assert(RecordStream::kFramesPerRecord * speechcodec::kFrameBufferBytes <= kRecordPayload);

constexpr std::uint64_t kBytesPerSecond = 8000;
constexpr std::uint64_t kFramesPerSecond = speechcodec::kFramesPerSecond;
// At most this much audio is kept waiting for a taker (a stalled reader).
constexpr std::uint64_t kMaxBacklogSeconds = 10;

}  // namespace

void RecordStream::Start(int mode, std::uint64_t nowMs) {
    active_ = true;
    mode_ = mode;
    lastMs_ = nowMs;
    dueMilli_ = 0;
    number_ = 0;
    position_ = 0;
    tone_ = LineTone();
    sourceUntil_ = std::numeric_limits<std::int64_t>::max();
    encoderThread_ = std::thread::id();
}

void RecordStream::Accrue(std::uint64_t nowMs, std::uint32_t speed) {
    if (!active_ || nowMs <= lastMs_) return;
    const std::uint64_t perSecond = mode_ == 0 ? kBytesPerSecond : kFramesPerSecond;
    // Units per ms, in thousandths: elapsed * perSecond * speed.
    dueMilli_ += (nowMs - lastMs_) * perSecond * speed;
    dueMilli_ = std::min(dueMilli_, kMaxBacklogSeconds * perSecond * speed * 1000);
    lastMs_ = nowMs;
}

std::int64_t RecordStream::SampleAt(std::uint64_t ms, std::uint32_t speed) const {
    const std::int64_t perSample =
        mode_ == 0 ? 1 : static_cast<std::int64_t>(speechcodec::kFrameSamples);
    const std::int64_t due = static_cast<std::int64_t>(dueMilli_ / 1000) * perSample;
    const std::int64_t elapsed = static_cast<std::int64_t>(ms) - static_cast<std::int64_t>(lastMs_);
    return position_ + due + elapsed * 8 * static_cast<std::int64_t>(speed);
}

bool RecordStream::SourceOnly(std::size_t count) const {
    const auto n = static_cast<std::int64_t>(count);
    return position_ + n <= sourceUntil_ && !tone_.Sounds(count, position_ - toneStart_);
}

void RecordStream::ReadLine(AudioSource& source, std::int16_t* pcm, std::size_t count) {
    source.ReadPcm(pcm, count);
    for (std::size_t i = 0; i < count; ++i)
        if (position_ + static_cast<std::int64_t>(i) >= sourceUntil_)
            pcm[i] = 0;
    tone_.MixInto(pcm, count, position_ - toneStart_);
}

void RecordStream::AppendRecord(std::vector<std::uint8_t>& records, const std::uint8_t* payload,
                                std::size_t length) {
    const std::size_t at = records.size();
    records.resize(at + kRecordSize, 0);
    ++number_;
    if (number_ == 0) number_ = 1;
    records[at + 1] = static_cast<std::uint8_t>(length);
    records[at + 2] = static_cast<std::uint8_t>(number_ & 0xFF);
    records[at + 3] = static_cast<std::uint8_t>(number_ >> 8);
    std::memcpy(&records[at + 4], payload, length);
}

std::size_t RecordStream::CodeFrame(AudioSource& source, std::uint8_t* out) {
    std::int16_t pcm[speechcodec::kFrameSamples];
    ReadLine(source, pcm, speechcodec::kFrameSamples);
    position_ += speechcodec::kFrameSamples;
    if (!triedLoad_) {
        triedLoad_ = true;
        trc_.Load();
    }
    if (!trc_.Loaded()) {
        out[0] = speechcodec::kKindByteRun;
        out[1] = 0;
        return 2;
    }
    if (encoderThread_ != std::this_thread::get_id()) {
        encoderThread_ = std::this_thread::get_id();
        trc_.vInitEncoder();
        trc_.vSet_volume(speechcodec::kUnityVolume, speechcodec::kUnityVolume);
    }
    std::uint8_t bytes[speechcodec::kFrameBytes];
    for (std::size_t i = 0; i < speechcodec::kFrameSamples; ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(pcm[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>((pcm[i] >> 8) & 0xFF);
    }
    const int length = trc_.vEncode(bytes, out, speechcodec::RateForRecordMode(mode_), 0);
    if (length < 1 || length > static_cast<int>(speechcodec::kFrameBufferBytes)) {
        out[0] = speechcodec::kKindByteRun;
        out[1] = 0;
        return 2;
    }
    return static_cast<std::size_t>(length);
}

std::size_t RecordStream::Take(AudioSource& source, std::vector<std::uint8_t>& records) {
    if (!active_) return 0;
    std::size_t added = 0;
    if (mode_ == 0) {
        std::uint8_t payload[kRecordPayload];
        while (dueMilli_ >= kRecordPayload * 1000) {
            if (SourceOnly(kRecordPayload)) {
                source.ReadMuLaw(payload, kRecordPayload);  // the file's codes unchanged
            } else {
                std::int16_t pcm[kRecordPayload];
                ReadLine(source, pcm, kRecordPayload);
                for (std::size_t i = 0; i < kRecordPayload; ++i)
                    payload[i] = speechcodec::MuLawEncode(pcm[i]);
            }
            position_ += kRecordPayload;
            AppendRecord(records, payload, kRecordPayload);
            dueMilli_ -= kRecordPayload * 1000;
            ++added;
        }
        return added;
    }
    while (dueMilli_ >= kFramesPerRecord * 1000) {
        std::uint8_t payload[kRecordPayload];
        std::size_t length = 0;
        for (std::uint32_t f = 0; f < kFramesPerRecord; ++f) length += CodeFrame(source, payload + length);
        AppendRecord(records, payload, length);
        dueMilli_ -= kFramesPerRecord * 1000;
        ++added;
    }
    return added;
}

}  // namespace linesim
