// Starts a long encoding and returns from main while it runs: the device
// table's destruction at exit must stop it, wait for it and remove its
// unfinished output. Exit code 0 when the setup worked.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "SpeechSignal.h"
#include "lindev/lindev.h"
#include "platform/QueueMessageWindow.h"
#include "speechcodec/WavHeader.h"
#include "testsupport/KeptUntilExit.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::filesystem::path folder = argv[1];
    const auto samples = speechcodec::test::SynthesiseSpeech(300.0);
    const auto header = speechcodec::WavHeader::Make(
        speechcodec::WavEncoding::Pcm16, static_cast<std::uint32_t>(samples.size() * 2));
    {
        std::ofstream out(folder / "long.wav", std::ios::binary);
        out.write(reinterpret_cast<const char*>(header.data()), header.size());
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 2));
    }
    // Outlives the table on purpose: the conversion posts until it is stopped.
    auto* window = vt::test::KeptUntilExit(new vt::QueueMessageWindow);
    if (TY_StartService(window, 0) != 0)
        return 3;
    const std::string src = (folder / "long.wav").string();
    const std::string dst = (folder / "long.vrc").string();
    if (TY_Encoder(src.c_str(), dst.c_str(), 1024, 0, 1, 10000, 0) != 1)
        return 4;
    if (!window->WaitFor(WM_TY_CODECPROGRESS, std::chrono::seconds(10)))
        return 5;
    if (window->Count(WM_TY_CODECDONE) != 0)
        return 6;  // too fast to test the exit
    std::puts("running");
    return 0;
}
