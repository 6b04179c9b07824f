#pragma once
// The monitor ring of a compressed recording: payloads are gathered into
// chunks of 132 bytes or more, each handed to the application by address
// (WM_TY_RECORDDATA). A chunk starts anywhere before the ring's last byte
// and may grow to 191 bytes, so the memory runs 191 bytes past the 660-byte
// ring: a chunk never leaves it, and it stays unchanged until the ring has
// wrapped back to its start.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lindev {

class MonitorRing {
public:
    static constexpr std::size_t kSize = 660;
    static constexpr std::size_t kChunkThreshold = 132;
    static constexpr std::size_t kMaxChunk = kChunkThreshold - 1 + 60;  // 191

    void Clear() {
        std::memset(bytes_, 0, sizeof bytes_);
        start_ = 0;
        fill_ = 0;
    }

    // Copies one payload (at most 60 bytes) behind the current chunk. When
    // the chunk reaches the threshold, returns its address and length and
    // starts the next one; otherwise returns null.
    const std::uint8_t* Add(const std::uint8_t* data, std::size_t length,
                            std::size_t* chunkLength = nullptr) {
        if (length > kMaxChunk - kChunkThreshold + 1) length = kMaxChunk - kChunkThreshold + 1;
        std::memcpy(bytes_ + start_ + fill_, data, length);
        fill_ += length;
        if (fill_ < kChunkThreshold) return nullptr;
        const std::uint8_t* chunk = bytes_ + start_;
        if (chunkLength) *chunkLength = fill_;
        start_ += fill_;
        fill_ = 0;
        if (start_ >= kSize - 1) start_ = 0;
        return chunk;
    }

    const std::uint8_t* Memory() const { return bytes_; }
    static constexpr std::size_t MemorySize() { return kSize - 1 + kMaxChunk; }

private:
    std::uint8_t bytes_[kSize - 1 + kMaxChunk] = {};
    std::size_t start_ = 0;
    std::size_t fill_ = 0;
};

}  // namespace lindev
