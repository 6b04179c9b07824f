#pragma once
// Judges recorded line audio, 20 ms frame by 20 ms frame (160 samples at
// 8 kHz): how long the silence after the last sound has lasted, and whether
// the exchange's busy tone (the far end hung up) has begun and where.
// Pure: no threads, no I/O, no codec; the recording engine feeds it decoded
// frames and silent frames, each with the byte range of the recording it
// came from, so the marks it reports can cut the file.
//
// - A frame is silent below kSoundDbfs (RMS, decibels below full scale).
// - A frame is tone when most of its energy (kTonePurity) lies at the busy
//   tone's two frequencies, 480 and 620 Hz (the codecs move energy between
//   the two, so only their sum counts). Tone is never sound.
// - Sound is a run of at least kSoundRunFrames loud frames that are not
//   tone: a lone click does not end a silence.
// - Busy tone is found once a burst of 180..700 ms, a gap of 180..700 ms
//   and 160 ms of the next burst have followed each other (both busy
//   cadences, 250/250 and 500/500 ms, within a frame's error either way).
//   It begins at the first frame of that first burst. Bursts and gaps
//   change only after kSwitchFrames frames of the other kind.

#include <cstddef>
#include <cstdint>

namespace lindev {

class LineAudioDetector {
public:
    static constexpr std::size_t kFrameSamples = 160;
    static constexpr std::uint32_t kFrameMs = 20;
    static constexpr double kSoundDbfs = -48.0;
    static constexpr double kTonePurity = 0.6;
    static constexpr std::uint32_t kSoundRunFrames = 2;
    // Kept after the last sound when a message is cut: the word's own decay.
    static constexpr std::uint32_t kTailFrames = 10;
    static constexpr std::uint32_t kSwitchFrames = 4;
    static constexpr std::uint32_t kOnsetFrames = 5;

    enum class FrameKind { Silence, Sound, Tone };

    // Where the audio stands; frames count from the first one fed, byte
    // offsets are the ranges given with the frames.
    struct Marks {
        std::uint64_t frames = 0;
        std::uint64_t bytes = 0;          // end of the last frame fed
        std::uint64_t silenceFrames = 0;  // since the end of the last sound (all, when none)
        bool sound = false;               // any sound yet
        std::uint64_t soundEndFrame = 0;  // the frame after the last sound
        std::uint64_t soundEndBytes = 0;
        // Where a message ending now ends: the last sound and a short tail,
        // never into a busy tone; 0 when there was no sound.
        std::uint64_t keepFrame = 0;
        std::uint64_t keepBytes = 0;
        bool busy = false;
        std::uint64_t busyFrame = 0;
        std::uint64_t busyBytes = 0;
    };

    // What one frame of samples is, on its own.
    static FrameKind Classify(const std::int16_t* pcm);

    // One frame of kFrameSamples samples, spanning bytes [begin, end).
    FrameKind Feed(const std::int16_t* pcm, std::uint64_t begin, std::uint64_t end);
    // `frames` silent frames spanning bytes [begin, end) together: a silence
    // record or comfort noise of a compressed recording.
    void FeedSilence(std::uint32_t frames, std::uint64_t begin, std::uint64_t end);

    // A frame that could not be decoded: taken for sound, so that nothing
    // heard is ever cut.
    void FeedUnheard(std::uint64_t begin, std::uint64_t end) {
        Step(FrameKind::Sound, 1, begin, end);
    }

    const Marks& Current() const { return marks_; }
    std::uint64_t SilenceMs() const { return marks_.silenceFrames * kFrameMs; }

private:
    void Step(FrameKind kind, std::uint32_t frames, std::uint64_t begin, std::uint64_t end);
    void StepCadence(bool tone, std::uint32_t frames, std::uint64_t frame, std::uint64_t begin);
    void EndSegment(bool wasTone, std::uint32_t length);
    void ConfirmBusy();

    Marks marks_;
    std::uint32_t loudRun_ = 0;  // loud, non-tone frames in a row
    // The busy cadence: the segment in hand (tone or gap) and its length.
    // Steady: a tone too long for a burst, waited out.
    enum class Cadence { None, FirstBurst, Gap, SecondBurst, Steady };
    Cadence cadence_ = Cadence::None;
    bool inTone_ = false;
    std::uint32_t segmentFrames_ = 0;
    std::uint32_t pendingFrames_ = 0;  // of the other kind, in a row
    std::uint64_t pendingFrame_ = 0;
    std::uint64_t pendingBytes_ = 0;
    std::uint64_t candidateFrame_ = 0;
    std::uint64_t candidateBytes_ = 0;
    Marks beforeCandidate_;
    Marks beforeRun_;  // the marks before the latest run of loud frames began
};

}  // namespace lindev
