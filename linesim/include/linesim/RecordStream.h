#pragma once
// The adapter's recording stream: 64-byte ring records produced at the
// real-time rate (times the speed factor) from the line audio. Mode 0
// carries 8 kHz mu-law, 60 bytes a record; modes 1 to 3 the compressed
// records of the speech codec (libtrc.so, loaded by name), two 20 ms frames
// a record, at the rate of the mode (1 smallest frames .. 3 largest).
// Record layout: byte 1 payload length, bytes 2-3 the record's number
// (little endian, from 1, wrapping from 65535 to 1), payload from byte 4.
//
// Not thread-safe (the model's lock guards it). The codec keeps its state
// per thread, so the stream re-initialises its encoder when taken from a
// new thread.

#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

#include "linesim/AudioSource.h"
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

    // Whether compressed modes code real audio (false: the codec library is
    // missing and silent frames are sent).
    bool CodecLoaded() const { return trc_.Loaded(); }

private:
    void AppendRecord(std::vector<std::uint8_t>& records, const std::uint8_t* payload,
                      std::size_t length);
    std::size_t CodeFrame(AudioSource& source, std::uint8_t* out);

    bool active_ = false;
    int mode_ = 0;
    std::uint64_t lastMs_ = 0;
    // Audio due and not yet taken: mu-law bytes (mode 0) or frames, in
    // thousandths.
    std::uint64_t dueMilli_ = 0;
    std::uint16_t number_ = 0;
    speechcodec::TrcModule trc_;
    bool triedLoad_ = false;
    std::thread::id encoderThread_;
};

}  // namespace linesim
