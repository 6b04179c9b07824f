#pragma once
// The adapter's recording stream: 64-byte ring records produced at the
// real-time rate (times the speed factor) from the line audio. Mode 0
// carries 8 kHz mu-law, 60 bytes a record; modes 1 to 3 the compressed
// records of the speech codec (libtrc.so, loaded by name), two 20 ms frames
// a record, at the rate of the mode (1 smallest frames .. 3 largest).
// Record layout: byte 1 payload length, bytes 2-3 the record's number
// (little endian, from 1, wrapping from 65535 to 1), payload from byte 4.
//
// The exchange's tone (LineTone) is added to the line audio from the
// sample at which it began, counted in stream samples, so at any speed the
// recording hears the tone's real cadence; after the far end hung up the
// source is silent and only the tone remains.
//
// Not thread-safe (the model's lock guards it). The codec keeps its state
// per thread, so the stream re-initialises its encoder when taken from a
// new thread.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include "linesim/AudioSource.h"
#include "linesim/LineTone.h"
#include "speechcodec/TrcModule.h"

namespace linesim {

class RecordStream {
public:
    static constexpr std::uint32_t kFramesPerRecord = 2;

    void Start(int mode, std::uint64_t nowMs);
    void Stop() { active_ = false; }
    bool Active() const { return active_; }
    int Mode() const { return mode_; }

    // Counts the audio due from the last call up to now at `speed`.
    void Accrue(std::uint64_t nowMs, std::uint32_t speed);
    // Appends every whole record due, coded from `source`; the number added.
    std::size_t Take(AudioSource& source, std::vector<std::uint8_t>& records);

    // The stream's sample (8 kHz, counted from the recording's start) that
    // is due at `ms` at `speed`; before the start it is negative.
    std::int64_t SampleAt(std::uint64_t ms, std::uint32_t speed) const;
    // The tone heard from stream sample `start` on (a silent tone: none).
    void SetTone(const LineTone& tone, std::int64_t start) {
        tone_ = tone;
        toneStart_ = start;
    }
    // The source is silent from stream sample `sample` on.
    void SilenceSourceFrom(std::int64_t sample) { sourceUntil_ = sample; }

    // Whether compressed modes code real audio (false: the codec library is
    // missing and silent frames are sent).
    bool CodecLoaded() const { return trc_.Loaded(); }

private:
    void AppendRecord(std::vector<std::uint8_t>& records, const std::uint8_t* payload,
                      std::size_t length);
    std::size_t CodeFrame(AudioSource& source, std::uint8_t* out);
    // Reads `count` samples of line audio: the source (silent from the far
    // end's hang-up) and the tone.
    void ReadLine(AudioSource& source, std::int16_t* pcm, std::size_t count);
    // Whether the next `count` samples are the source's alone, unchanged.
    bool SourceOnly(std::size_t count) const;

    bool active_ = false;
    int mode_ = 0;
    std::uint64_t lastMs_ = 0;
    // Audio due and not yet taken: mu-law bytes (mode 0) or frames, in
    // thousandths.
    std::uint64_t dueMilli_ = 0;
    std::uint16_t number_ = 0;
    std::int64_t position_ = 0;  // samples taken since the start
    LineTone tone_;
    std::int64_t toneStart_ = 0;
    std::int64_t sourceUntil_ = std::numeric_limits<std::int64_t>::max();
    speechcodec::TrcModule trc_;
    bool triedLoad_ = false;
    std::thread::id encoderThread_;
};

}  // namespace linesim
