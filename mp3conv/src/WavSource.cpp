#include "WavSource.h"

#include <cstring>

namespace vt::mp3 {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

unsigned Le16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

constexpr unsigned kFormatPcm = 1;
constexpr unsigned kFormatMuLaw = 7;
constexpr unsigned kFormatExtensible = 0xFFFE;

}  // namespace

std::int16_t MuLawDecode(std::uint8_t code) {
    const int u = ~code & 0xFF;
    const int exponent = (u >> 4) & 0x07;
    const int mantissa = u & 0x0F;
    const int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
    return static_cast<std::int16_t>((u & 0x80) ? -magnitude : magnitude);
}

WavSource::~WavSource() {
    if (file_)
        std::fclose(file_);
}

WavSource::OpenResult WavSource::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return OpenResult::CannotOpen;
    if (std::fseek(file_, 0, SEEK_END) != 0)
        return OpenResult::CannotOpen;
    const long size = std::ftell(file_);
    if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0)
        return OpenResult::CannotOpen;
    return ParseChunks(static_cast<std::uint64_t>(size)) ? OpenResult::Ok : OpenResult::NotWav;
}

bool WavSource::ParseChunks(std::uint64_t fileSize) {
    std::uint8_t riff[12];
    if (std::fread(riff, 1, 12, file_) != 12)
        return false;
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    std::uint64_t offset = 12;
    bool haveFormat = false;
    while (offset + 8 <= fileSize) {
        std::uint8_t head[8];
        if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
            std::fread(head, 1, 8, file_) != 8)
            return false;
        const std::uint32_t length = Le32(head + 4);
        const std::uint64_t body = offset + 8;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            std::uint8_t fmt[40] = {};
            if (length < 16 || std::fread(fmt, 1, length < 40 ? length : 40, file_) < 16)
                return false;
            format_ = Le16(fmt);
            channels_ = Le16(fmt + 2);
            sampleRate_ = Le32(fmt + 4);
            blockAlign_ = Le16(fmt + 12);
            bitsPerSample_ = Le16(fmt + 14);
            if (format_ == kFormatExtensible && length >= 40)
                format_ = Le16(fmt + 24);
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            const bool wide = bitsPerSample_ == 16 || bitsPerSample_ == 8;
            const bool pcm = format_ == kFormatPcm && wide;
            const bool muLaw = format_ == kFormatMuLaw && bitsPerSample_ == 8;
            if (!(pcm || muLaw) || channels_ < 1 || channels_ > 2)
                return false;
            if (sampleRate_ < 8000 || sampleRate_ > 48000)
                return false;
            if (blockAlign_ != channels_ * bitsPerSample_ / 8)
                return false;
            // A recorder that stopped before rewriting its header leaves the
            // length 0 (or too large): the data then runs to the end of file.
            std::uint64_t available = fileSize - body;
            std::uint64_t bytes = length;
            if (bytes == 0 || bytes > available)
                bytes = available;
            dataBytes_ = bytes - bytes % blockAlign_;
            buffer_.resize(4096 * blockAlign_);
            return std::fseek(file_, static_cast<long>(body), SEEK_SET) == 0;
        }
        offset = body + length + (length & 1);
    }
    return false;
}

long WavSource::Read(std::size_t frames, std::vector<std::int16_t>& out) {
    const std::uint64_t left = (dataBytes_ - bytesRead_) / blockAlign_;
    if (frames > left)
        frames = static_cast<std::size_t>(left);
    if (frames * blockAlign_ > buffer_.size())
        frames = buffer_.size() / blockAlign_;
    if (frames == 0)
        return 0;
    const std::size_t bytes = frames * blockAlign_;
    if (std::fread(buffer_.data(), 1, bytes, file_) != bytes)
        return -1;
    bytesRead_ += bytes;
    const std::size_t samples = frames * channels_;
    if (format_ == kFormatMuLaw) {
        for (std::size_t i = 0; i < samples; ++i) out.push_back(MuLawDecode(buffer_[i]));
    } else if (bitsPerSample_ == 8) {
        for (std::size_t i = 0; i < samples; ++i)
            out.push_back(static_cast<std::int16_t>((buffer_[i] - 128) << 8));
    } else {
        for (std::size_t i = 0; i < samples; ++i)
            out.push_back(static_cast<std::int16_t>(Le16(&buffer_[2 * i])));
    }
    return static_cast<long>(frames);
}

}  // namespace vt::mp3
