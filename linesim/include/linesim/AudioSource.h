#pragma once
// One source of line audio for the simulated adapter, at 8 kHz: silence, a
// 400 Hz tone, or a WAV file (8 kHz mono, 16-bit PCM or 8-bit mu-law) played
// from its start and looped. Read as mu-law codes (a mu-law file gives its
// bytes unchanged) or as 16-bit samples.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace linesim {

class AudioSource {
public:
    enum class Kind { Silence, Tone, File };

    // Silence.
    AudioSource() = default;
    static AudioSource Tone();
    // nullopt, with the reason, when the file cannot be read or is not an
    // 8 kHz mono 16-bit PCM or mu-law WAV file with some audio.
    static std::optional<AudioSource> FromWav(const std::string& path, std::string* error);

    Kind GetKind() const { return kind_; }
    // What the status line shows: "off", "tone" or the file's name.
    const std::string& Name() const { return name_; }
    // Back to the start of the file or tone.
    void Rewind() { position_ = 0; }

    void ReadMuLaw(std::uint8_t* out, std::size_t count);
    void ReadPcm(std::int16_t* out, std::size_t count);

private:
    Kind kind_ = Kind::Silence;
    std::string name_ = "off";
    bool muLaw_ = false;
    std::vector<std::uint8_t> codes_;     // a mu-law file
    std::vector<std::int16_t> samples_;   // a PCM file
    std::uint64_t position_ = 0;          // samples read so far
};

}  // namespace linesim
