// Times the MP3 export of a long 8 kHz speech recording.
//   mp3conv_bench [minutes=60] [source.wav]
// Without a source it writes speech-like sound of the given length; with
// one (for example real speech made with espeak-ng and sox) it repeats that
// file's sound up to the length.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "mp3conv/Mp3Conv.h"
#include "testsupport/WavFixture.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    const unsigned minutes = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 60;
    std::vector<std::int16_t> clip;
    if (argc > 2) {
        auto bytes = vt::test::ReadBytes(argv[2]);
        for (std::size_t i = 44; i + 1 < bytes.size(); i += 2)
            clip.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    if (clip.empty())
        clip = vt::test::SpeechLikeSamples(60000);
    const std::size_t total = std::size_t(minutes) * 60 * 8000;
    std::vector<std::int16_t> samples;
    samples.reserve(total);
    while (samples.size() < total)
        samples.insert(samples.end(), clip.begin(),
                       clip.begin() + std::min(clip.size(), total - samples.size()));

    const fs::path folder = fs::temp_directory_path() / ("mp3bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path wav = folder / "long.wav";
    const fs::path mp3 = folder / "long.mp3";
    if (!vt::test::WritePcmWav(wav, samples))
        return 1;

    const auto start = std::chrono::steady_clock::now();
    const int result = Kvne_WavtoMp3(nullptr, wav.c_str(), mp3.c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%u min of 8 kHz speech -> MP3: %.2f s (%.0fx real time), %s, %.1f MB\n", minutes,
                seconds, minutes * 60.0 / seconds, Kvne_Mp3ResultText(result),
                result == 0 ? fs::file_size(mp3) / 1e6 : 0.0);
    fs::remove_all(folder);
    return result;
}
