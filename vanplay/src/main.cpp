// vanplay: the recording player, and its batch MP3 export.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "i18n/Translations.h"
#include "vanplay/BatchExport.h"
#include "vanplay/CommandLine.h"
#include "vanplay/InstanceGuard.h"
#include "vanplay/PlayerWindow.h"

int main(int argc, char** argv) {
    using vanplay::CommandLine;
    vt::i18n::LoadForUser({"vanplay"});
    const CommandLine cl = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (cl.mode) {
        case CommandLine::Mode::Help:
            std::fputs(CommandLine::Usage().c_str(), stdout);
            return 0;
        case CommandLine::Mode::Error:
            std::fprintf(stderr, "vanplay: %s\n%s", cl.error.c_str(), CommandLine::Usage().c_str());
            return 2;
        case CommandLine::Mode::ToMp3:
            return vanplay::BatchExport(stdout, stderr).Run(cl.files);
        case CommandLine::Mode::Play:
            break;
    }
    // Qt 6.4's ffmpeg back end crashes without a sound device; GStreamer
    // falls back to a silent sink instead.
    ::setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName("vanplay");
    vt::i18n::InstallIntoApplication();
    vanplay::InstanceGuard instance;
    if (!instance.AcquireOrWarn())
        return 1;
    vanplay::PlayerWindow window;
    window.show();
    window.Start(cl.file);
    return app.exec();
}
