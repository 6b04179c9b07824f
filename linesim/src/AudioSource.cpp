#include "linesim/AudioSource.h"

#include <cmath>
#include <cstring>

#include "speechcodec/MuLaw.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"
#include "speechcodec/WavReader.h"

namespace linesim {

namespace {

constexpr std::uint8_t kMuLawSilence = 0xFF;
constexpr double kToneHz = 400.0;
constexpr double kToneAmplitude = 8000.0;
constexpr std::uint32_t kRate = 8000;
// 20 tone periods: the tone repeats exactly after this many samples.
constexpr std::uint64_t kTonePeriod = 400;

}  // namespace

AudioSource AudioSource::Tone() {
    AudioSource s;
    s.kind_ = Kind::Tone;
    s.name_ = "tone";
    s.samples_.resize(kTonePeriod);
    for (std::uint64_t i = 0; i < kTonePeriod; ++i)
        s.samples_[i] = static_cast<std::int16_t>(
            std::lround(kToneAmplitude * std::sin(2.0 * M_PI * kToneHz * double(i) / kRate)));
    return s;
}

std::optional<AudioSource> AudioSource::FromWav(const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!speechcodec::ReadWholeFile(path, bytes, error)) return std::nullopt;
    AudioSource s;
    s.kind_ = Kind::File;
    s.name_ = path;
    std::string why;
    const auto header = speechcodec::WavHeader::Parse(bytes.data(), bytes.size(), &why);
    if (header && header->formatTag == 7) {
        if (header->channels != 1 || header->sampleRate != kRate || header->bitsPerSample != 8) {
            *error = path + ": a mu-law file must be 8000 Hz, mono, 8 bits";
            return std::nullopt;
        }
        const std::size_t size = bytes.size() - speechcodec::WavHeader::kSize;
        s.codes_.assign(bytes.begin() + speechcodec::WavHeader::kSize,
                        bytes.begin() + speechcodec::WavHeader::kSize +
                            std::min<std::size_t>(size, header->dataLength));
        s.muLaw_ = true;
    } else {
        speechcodec::WavReader wav;
        if (!wav.Parse(bytes.data(), bytes.size())) {
            *error = path + ": " + wav.Error() + " (or 8-bit mu-law)";
            return std::nullopt;
        }
        s.samples_.resize(wav.SampleCount());
        for (std::size_t i = 0; i < s.samples_.size(); ++i)
            s.samples_[i] = static_cast<std::int16_t>(wav.Data()[2 * i] | wav.Data()[2 * i + 1] << 8);
    }
    if (s.codes_.empty() && s.samples_.empty()) {
        *error = path + ": the file holds no audio";
        return std::nullopt;
    }
    return s;
}

void AudioSource::ReadMuLaw(std::uint8_t* out, std::size_t count) {
    if (kind_ == Kind::Silence) {
        std::memset(out, kMuLawSilence, count);
        return;
    }
    if (muLaw_) {
        for (std::size_t i = 0; i < count; ++i) out[i] = codes_[(position_ + i) % codes_.size()];
        position_ += count;
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        out[i] = speechcodec::MuLawEncode(samples_[(position_ + i) % samples_.size()]);
    position_ += count;
}

void AudioSource::ReadPcm(std::int16_t* out, std::size_t count) {
    if (kind_ == Kind::Silence) {
        std::memset(out, 0, count * sizeof *out);
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        out[i] = muLaw_ ? speechcodec::MuLawDecode(codes_[(position_ + i) % codes_.size()])
                        : samples_[(position_ + i) % samples_.size()];
    position_ += count;
}

}  // namespace linesim
