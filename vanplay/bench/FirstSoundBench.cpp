// Time from the player's start with a compressed recording on its command
// line to the first sound (the media position moving), as the program does
// it: window, graph, decoding run, render, run.
//   vanplay_first_sound_bench [minutes=10]
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "VrcFixture.h"
#include "testsupport/WavFixture.h"
#include "vanplay/PlayerWindow.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    const unsigned minutes = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 10;
    const fs::path folder = fs::temp_directory_path() / ("vpbench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path vrc = folder / "long.vrc";
    if (!vanplay::test::WriteVrc(vrc, vt::test::SpeechLikeSamples(minutes * 60000))) return 1;

    ::setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    vanplay::PlayerWindow window;
    window.show();
    window.Start(vrc.string());
    qint64 decodedAt = -1;
    std::int64_t position = 0;
    while (clock.elapsed() < 30000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        auto& player = window.Controller();
        if (decodedAt < 0 && !player.Decoding()) decodedAt = clock.elapsed();
        if (!player.Decoding() && player.Graph().IsRendered() &&
            player.Graph().GetCurrentPosition(&position) == 0 && position > 0)
            break;
        QThread::usleep(200);
    }
    const qint64 total = clock.elapsed();
    std::printf("%u min compressed recording (%.0f kB): decoded after %lld ms, first sound after "
                "%lld ms\n",
                minutes, fs::file_size(vrc) / 1024.0, static_cast<long long>(decodedAt),
                static_cast<long long>(total));
    window.close();
    fs::remove_all(folder);
    return position > 0 ? 0 : 1;
}
