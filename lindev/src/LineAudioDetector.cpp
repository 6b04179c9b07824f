#include "LineAudioDetector.h"

#include <array>
#include <cmath>

namespace lindev {

namespace {

constexpr std::size_t N = LineAudioDetector::kFrameSamples;
constexpr double kRate = 8000.0;
constexpr double kLowHz = 480.0;
constexpr double kHighHz = 620.0;
// Burst and gap lengths of a busy cadence, in frames (180..700 ms), and how
// much of the second burst confirms it (160 ms).
constexpr std::uint32_t kMinSegment = 9;
constexpr std::uint32_t kMaxSegment = 35;
constexpr std::uint32_t kConfirmFrames = 8;

struct Tables {
    std::array<double, N> window{};
    double lowCoefficient = 0.0;
    double highCoefficient = 0.0;
    Tables() {
        for (std::size_t n = 0; n < N; ++n)
            window[n] = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(n) / N);
        lowCoefficient = 2.0 * std::cos(2.0 * M_PI * kLowHz / kRate);
        highCoefficient = 2.0 * std::cos(2.0 * M_PI * kHighHz / kRate);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// The power of one frequency in the windowed frame (Goertzel).
double Power(const double* x, double coefficient) {
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t n = 0; n < N; ++n) {
        const double s = x[n] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace

LineAudioDetector::FrameKind LineAudioDetector::Classify(const std::int16_t* pcm) {
    const Tables& t = GetTables();
    double energy = 0.0, windowedEnergy = 0.0;
    double x[N];
    for (std::size_t n = 0; n < N; ++n) {
        const double v = pcm[n];
        energy += v * v;
        x[n] = v * t.window[n];
        windowedEnergy += x[n] * x[n];
    }
    // RMS against full scale, compared as energies: no logarithm per frame.
    static const double kSoundEnergy =
        N * std::pow(32768.0 * std::pow(10.0, kSoundDbfs / 20.0), 2.0);
    if (energy < kSoundEnergy || windowedEnergy <= 0.0)
        return FrameKind::Silence;
    // A sine wave's windowed power is N/3 times its windowed energy (Hann):
    // the shares of a pure two-tone frame are about one half each.
    const double scale = 3.0 / (static_cast<double>(N) * windowedEnergy);
    const double low = Power(x, t.lowCoefficient) * scale;
    const double high = Power(x, t.highCoefficient) * scale;
    if (low + high >= kTonePurity)
        return FrameKind::Tone;
    return FrameKind::Sound;
}

LineAudioDetector::FrameKind LineAudioDetector::Feed(const std::int16_t* pcm, std::uint64_t begin,
                                                     std::uint64_t end) {
    const FrameKind kind = Classify(pcm);
    Step(kind, 1, begin, end);
    return kind;
}

void LineAudioDetector::FeedSilence(std::uint32_t frames, std::uint64_t begin, std::uint64_t end) {
    if (frames > 0)
        Step(FrameKind::Silence, frames, begin, end);
}

void LineAudioDetector::Step(FrameKind kind, std::uint32_t frames, std::uint64_t begin,
                             std::uint64_t end) {
    const std::uint64_t first = marks_.frames;
    marks_.frames += frames;
    marks_.bytes = end;
    // Once the busy tone is found the message is over: its marks stay.
    if (!marks_.busy) {
        if (kind == FrameKind::Sound) {
            if (loudRun_ == 0)
                beforeRun_ = marks_;
            ++loudRun_;
            if (loudRun_ >= kSoundRunFrames) {
                marks_.sound = true;
                marks_.soundEndFrame = marks_.frames;
                marks_.soundEndBytes = end;
                marks_.keepFrame = marks_.frames;
                marks_.keepBytes = end;
            }
        } else {
            loudRun_ = 0;
            // The tail after the last sound, in whole records.
            if (marks_.sound && marks_.frames - marks_.soundEndFrame <= kTailFrames) {
                marks_.keepFrame = marks_.frames;
                marks_.keepBytes = end;
            }
        }
        StepCadence(kind == FrameKind::Tone, frames, first, begin);
    }
    marks_.silenceFrames = marks_.sound ? marks_.frames - marks_.soundEndFrame : marks_.frames;
}

void LineAudioDetector::StepCadence(bool tone, std::uint32_t frames, std::uint64_t frame,
                                    std::uint64_t begin) {
    // Segments change only after kSwitchFrames frames of the other kind: a
    // codec's odd frame inside a burst or a gap does not split it.
    if (tone == inTone_) {
        segmentFrames_ += pendingFrames_ + frames;
        pendingFrames_ = 0;
    } else {
        if (pendingFrames_ == 0) {
            pendingFrame_ = frame;
            pendingBytes_ = begin;
        }
        pendingFrames_ += frames;
        if (pendingFrames_ >= kSwitchFrames) {
            EndSegment(inTone_, segmentFrames_);
            inTone_ = tone;
            segmentFrames_ = pendingFrames_;
            pendingFrames_ = 0;
            if (tone && cadence_ == Cadence::None) {
                cadence_ = Cadence::FirstBurst;
                candidateFrame_ = pendingFrame_;
                candidateBytes_ = pendingBytes_;
                // What the message was before this tone: restored when the
                // tone proves to be the busy tone.
                beforeCandidate_ = marks_;
                // A short burst of sound right at the tone is its onset as a
                // codec renders it, not the caller's word.
                if (marks_.sound && marks_.soundEndFrame + kSwitchFrames >= candidateFrame_ &&
                    marks_.soundEndFrame - beforeRun_.frames <= kOnsetFrames)
                    beforeCandidate_ = beforeRun_;
            }
        }
    }
    const bool inRange = segmentFrames_ <= kMaxSegment;
    switch (cadence_) {
        case Cadence::FirstBurst:
            if (inTone_ && !inRange)
                cadence_ = Cadence::Steady;
            break;
        case Cadence::Gap:
            if (!inTone_ && !inRange)
                cadence_ = Cadence::None;
            break;
        case Cadence::SecondBurst:
            if (inTone_ && segmentFrames_ >= kConfirmFrames)
                ConfirmBusy();
            break;
        default:
            break;
    }
}

void LineAudioDetector::EndSegment(bool wasTone, std::uint32_t length) {
    const bool inRange = length >= kMinSegment && length <= kMaxSegment;
    switch (cadence_) {
        case Cadence::FirstBurst:
            cadence_ = wasTone && inRange ? Cadence::Gap : Cadence::None;
            break;
        case Cadence::Gap:
            cadence_ = !wasTone && inRange ? Cadence::SecondBurst : Cadence::None;
            break;
        case Cadence::SecondBurst:  // it ended before it confirmed anything
        case Cadence::Steady:
            cadence_ = Cadence::None;
            break;
        case Cadence::None:
            break;
    }
}

void LineAudioDetector::ConfirmBusy() {
    marks_.busy = true;
    marks_.busyFrame = candidateFrame_;
    marks_.busyBytes = candidateBytes_;
    // Sound marks from before the tone: a codec's echo in its gaps is no word.
    marks_.sound = beforeCandidate_.sound;
    marks_.soundEndFrame = beforeCandidate_.soundEndFrame;
    marks_.soundEndBytes = beforeCandidate_.soundEndBytes;
    marks_.keepFrame = beforeCandidate_.keepFrame;
    marks_.keepBytes = beforeCandidate_.keepBytes;
    if (marks_.keepFrame > candidateFrame_) {
        marks_.keepFrame = candidateFrame_;
        marks_.keepBytes = candidateBytes_;
    }
}

}  // namespace lindev
