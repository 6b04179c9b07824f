#pragma once
// Turns a count of consecutive silent frames into run records. A run of
// more than kMaxRunFrames frames is written as several records of at most
// that many frames, so every silent frame survives the round trip; a full
// record is written as soon as a run reaches the maximum, so a streaming
// encoder never holds more than one record back.

#include <cstdint>
#include <vector>

namespace speechcodec {

class SilenceRunWriter {
public:
    // Counts frames; full-length run records go to out as they fill.
    void Add(std::uint64_t frames, std::vector<std::uint8_t>& out);
    // Writes the run still pending (if any) and starts a new count.
    void Flush(std::vector<std::uint8_t>& out);
    std::uint32_t Pending() const { return pending_; }

    // The whole run of n frames at once (Add + Flush).
    static void WriteRun(std::uint64_t frames, std::vector<std::uint8_t>& out);

private:
    std::uint32_t pending_ = 0;
};

}  // namespace speechcodec
