#pragma once
// Hands the audio of a recording, as its payload bytes reach the file, to
// a LineAudioDetector: mu-law bytes (record mode 0) in frames of 160, or
// the compressed records (modes 1 to 3) one by one, coded frames decoded
// through the speech codec (libtrc.so), silence records and comfort noise
// counted as silence without decoding. A record or frame cut by a payload
// boundary waits for the rest. Byte offsets count from the first payload
// byte (the WAV header is not counted).
//
// Lives on the thread that feeds it: the codec keeps its decoder per thread.
// Without the codec, coded frames count as sound, so nothing is cut.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "LineAudioDetector.h"
#include "speechcodec/TrcModule.h"

namespace lindev {

class RecordedAudioFeed {
public:
    explicit RecordedAudioFeed(int mode) : mode_(mode) {}

    void Add(const std::uint8_t* data, std::size_t length);
    const LineAudioDetector& Detector() const { return detector_; }

private:
    void AddRecord(const std::uint8_t* record, std::size_t length, std::uint64_t begin);
    bool CodecReady();

    int mode_;
    LineAudioDetector detector_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t pendingOffset_ = 0;  // of pending_[0]
    speechcodec::TrcModule trc_;
    bool triedCodec_ = false;
    std::uint8_t frame_[24] = {};
};

}  // namespace lindev
