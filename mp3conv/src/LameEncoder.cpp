#include "LameEncoder.h"

#include <lame/lame.h>

namespace vt::mp3 {

namespace {

// LAME's own bound for one call's output: 1.25 x samples + 7200.
std::size_t MaxOutput(std::size_t samples) {
    return samples + samples / 4 + 7200;
}

}  // namespace

LameEncoder::~LameEncoder() {
    if (lame_)
        lame_close(lame_);
}

bool LameEncoder::Start(unsigned sampleRate, unsigned channels, int bitRateKbps) {
    lame_ = lame_init();
    if (!lame_)
        return false;
    channels_ = channels;
    lame_set_num_channels(lame_, static_cast<int>(channels));
    lame_set_in_samplerate(lame_, static_cast<int>(sampleRate));
    if (sampleRate == 8000)
        lame_set_out_samplerate(lame_, 8000);
    lame_set_mode(lame_, MONO);  // a stereo source is mixed down
    lame_set_VBR(lame_, vbr_off);
    lame_set_brate(lame_, bitRateKbps);
    lame_set_quality(lame_, 5);
    lame_set_write_id3tag_automatic(lame_, 0);
    lame_set_bWriteVbrTag(lame_, 1);
    return lame_init_params(lame_) >= 0;
}

bool LameEncoder::Encode(const std::vector<std::int16_t>& samples, Bytes& out) {
    const std::size_t frames = samples.size() / channels_;
    if (frames == 0)
        return true;
    const std::size_t base = out.size();
    out.resize(base + MaxOutput(frames));
    int written;
    if (channels_ == 1) {
        written =
            lame_encode_buffer(lame_, samples.data(), samples.data(), static_cast<int>(frames),
                               out.data() + base, static_cast<int>(out.size() - base));
    } else {
        written = lame_encode_buffer_interleaved(lame_, const_cast<short*>(samples.data()),
                                                 static_cast<int>(frames), out.data() + base,
                                                 static_cast<int>(out.size() - base));
    }
    if (written < 0) {
        out.resize(base);
        return false;
    }
    out.resize(base + static_cast<std::size_t>(written));
    return true;
}

bool LameEncoder::Finish(std::vector<std::uint8_t>& out) {
    const std::size_t base = out.size();
    out.resize(base + 7200);
    const int written = lame_encode_flush(lame_, out.data() + base, 7200);
    if (written < 0) {
        out.resize(base);
        return false;
    }
    out.resize(base + static_cast<std::size_t>(written));
    return true;
}

}  // namespace vt::mp3

namespace vt::mp3 {

std::vector<std::uint8_t> LameEncoder::TagFrame() {
    std::vector<std::uint8_t> frame(2880);
    const std::size_t n = lame_get_lametag_frame(lame_, frame.data(), frame.size());
    frame.resize(n <= frame.size() ? n : 0);
    return frame;
}

}  // namespace vt::mp3
