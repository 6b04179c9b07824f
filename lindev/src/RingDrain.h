#pragma once
// The drain of the recording ring: 4000 records of 64 bytes that the driver
// writes in order and wraps, each with its payload length in byte 1 and up
// to 60 payload bytes from byte 4. Given the driver's record count after a
// pass, Drain hands every new record's payload, oldest first, to a sink.
// Pure: no threads and no I/O, so the recording engine, its tests and the
// throughput benchmark share it.
//
// Never reads outside the ring: a count of 4000 or more is ignored (and
// reported), and a payload length above 60 is cut to 60.
//
// Lapped ring: the simulated adapter numbers its records (bytes 2-3, little
// endian, counting from 1 and wrapping from 65535 to 1). When records carry numbers
// and the first new record does not follow the last one drained, the driver
// has overtaken the drain: the whole ring is then drained oldest first and
// the records lost are reported, so no old audio is written a second time.
// An adapter that leaves bytes 2-3 zero is never taken for lapped.

#include <cstddef>
#include <cstdint>

#include "usbline/AdapterProtocol.h"

namespace lindev {

class RingDrain {
public:
    static constexpr auto kRecords = static_cast<std::uint32_t>(usbline::protocol::kRingRecords);
    static constexpr std::size_t kRecordSize = usbline::protocol::kRecordSize;
    static constexpr std::size_t kRingBytes = usbline::protocol::kRingBytes;
    static constexpr std::size_t kMaxPayload = usbline::protocol::kRecordPayload;
    static constexpr std::size_t kPayloadOffset = kRecordSize - kMaxPayload;

    struct Pass {
        std::uint32_t records = 0;  // records drained
        std::uint64_t bytes = 0;    // payload bytes handed to the sink
        bool badCount = false;      // the count lies outside the ring; nothing read
        bool lapped = false;        // the driver overtook the drain
        std::uint32_t lost = 0;     // records overwritten before they were drained
    };

    // Drains the records written since the last pass, given the driver's
    // count c: last..c-1, or last..3999 then 0..c-1 when the count wrapped.
    // A count of 0 or equal to the last one drains nothing. `sink` is called
    // as sink(const std::uint8_t* payload, std::size_t length) for every
    // record with a payload.
    template <typename Sink>
    Pass Drain(const std::uint8_t* ring, std::uint32_t count, Sink&& sink) {
        Pass pass;
        if (count >= kRecords) {
            pass.badCount = true;
            return pass;
        }
        if (count == 0 || count == last_) return pass;
        std::uint32_t from = last_;
        std::uint32_t n = count > last_ ? count - last_ : kRecords - last_ + count;
        if (numbered_) {
            const std::uint16_t first = Number(ring, from);
            // Numbers skip 0 when they wrap.
            std::uint16_t expected = static_cast<std::uint16_t>(lastNumber_ + 1);
            if (expected == 0) expected = 1;
            if (first != expected) {
                // Overtaken: the oldest record still in the ring is the one at
                // the count; take the whole ring from there.
                pass.lapped = true;
                from = count;
                n = kRecords;
                pass.lost = static_cast<std::uint16_t>(Number(ring, from) - expected);
            }
        }
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint8_t* record = ring + static_cast<std::size_t>((from + i) % kRecords) *
                                                    kRecordSize;
            std::size_t length = record[1];
            if (length > kMaxPayload) length = kMaxPayload;
            if (length > 0) {
                sink(record + kPayloadOffset, length);
                pass.bytes += length;
            }
            const std::uint16_t number = static_cast<std::uint16_t>(record[2] | record[3] << 8);
            if (number != 0) numbered_ = true;
            lastNumber_ = number;
        }
        pass.records = n;
        last_ = count;
        return pass;
    }

    std::uint32_t LastCount() const { return last_; }
    void Reset() {
        last_ = 0;
        numbered_ = false;
        lastNumber_ = 0;
    }

private:
    static std::uint16_t Number(const std::uint8_t* ring, std::uint32_t index) {
        const std::uint8_t* r = ring + static_cast<std::size_t>(index) * kRecordSize;
        return static_cast<std::uint16_t>(r[2] | r[3] << 8);
    }

    std::uint32_t last_ = 0;
    bool numbered_ = false;
    std::uint16_t lastNumber_ = 0;
};

}  // namespace lindev
