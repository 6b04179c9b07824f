// Time to decode a one-hour compressed recording to a PCM WAV file
// (TY_Decoder) and to a mu-law WAV file (TY_Decoder1), from the export call
// to WM_TY_CODECDONE, for a recording made at each encoder rate; and the
// encoding of 60 s of speech through TY_Encoder for comparison.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SpeechSignal.h"
#include "lindev/lindev.h"
#include "platform/QueueMessageWindow.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"
#include "testsupport/TestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

vt::QueueMessageWindow g_window;

// Seconds from the call to the done message; negative on failure.
template <typename Start>
double Timed(Start start) {
    g_window.Drain();
    const auto begin = Clock::now();
    if (start() != 1)
        return -1;
    auto done = g_window.WaitFor(WM_TY_CODECDONE, std::chrono::minutes(10));
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    return done && done->lParam == 0 ? seconds : -1;
}

}  // namespace

int main() {
    vt::test::TestEnvironment env;
    if (TY_StartService(&g_window, 0) != 0)
        return 1;
    const fs::path dir = env.Root();
    const double pieceSeconds = 60.0;
    const auto samples = speechcodec::test::SynthesiseSpeech(pieceSeconds);
    const auto header = speechcodec::WavHeader::Make(
        speechcodec::WavEncoding::Pcm16, static_cast<std::uint32_t>(samples.size() * 2));
    {
        std::ofstream out(dir / "piece.wav", std::ios::binary);
        out.write(reinterpret_cast<const char*>(header.data()), header.size());
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 2));
    }
    const std::string wav = (dir / "piece.wav").string();
    std::printf("%-22s %10s %12s %12s %12s\n", "recording (1 hour)", "size", "encode 60 s",
                "to PCM", "to mu-law");
    for (int rate : {0, 1, 2}) {
        const std::string piece = (dir / "piece.vrc").string();
        const double encode =
            Timed([&] { return TY_Encoder(wav.c_str(), piece.c_str(), 1024, rate, 1, 100, 0); });
        std::ifstream in(piece, std::ios::binary);
        const std::vector<char> coded(std::istreambuf_iterator<char>(in), {});
        const std::string hour = (dir / "hour.vrc").string();
        {
            std::ofstream out(hour, std::ios::binary);
            for (int i = 0; i < static_cast<int>(3600 / pieceSeconds); ++i)
                out.write(coded.data(), static_cast<std::streamsize>(coded.size()));
        }
        const std::string pcm = (dir / "hour.wav").string();
        const std::string ulaw = (dir / "hour-ulaw.wav").string();
        const double toPcm =
            Timed([&] { return TY_Decoder(hour.c_str(), pcm.c_str(), 1024, 100, 0); });
        const double toUlaw =
            Timed([&] { return TY_Decoder1(hour.c_str(), ulaw.c_str(), 1024, 100, 0); });
        char label[32];
        std::snprintf(label, sizeof label, "TY_Encoder rate %d", rate);
        std::printf("%-22s %8.2f MB %10.2f s %10.2f s %10.2f s   (%0.0fx / %0.0fx real time)\n",
                    label, static_cast<double>(fs::file_size(hour)) / 1e6, encode, toPcm, toUlaw,
                    3600 / toPcm, 3600 / toUlaw);
        fs::remove(pcm);
        fs::remove(ulaw);
    }
    TY_StopService(0);
    return 0;
}
