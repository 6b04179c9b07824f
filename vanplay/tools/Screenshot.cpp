// Takes a picture of the player as the X server shows it (run it under
// xvfb-run): opens FILE, waits until it plays, grabs the screen area of the
// window and writes OUT.png.
//   vanplay_screenshot FILE OUT.png [wait-ms=1500]
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "i18n/Translations.h"
#include "vanplay/PlayerIds.h"
#include "vanplay/PlayerWindow.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vanplay_screenshot FILE OUT.png [wait-ms]\n");
        return 2;
    }
    ::setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    vt::i18n::LoadForUser({"vanplay"});  // the locale's language, as the program
    QApplication app(argc, argv);
    vt::i18n::InstallIntoApplication();
    vanplay::PlayerWindow window;
    window.move(40, 40);
    window.show();
    window.Start(argv[1]);
    const int waitMs = argc > 3 ? std::atoi(argv[3]) : 1500;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    const QRect area = window.frameGeometry().adjusted(-12, -12, 12, 12);
    QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (!shot.save(argv[2]))
        return 1;
    std::printf("%s: %dx%d, status \"%s\", time \"%s\"\n", argv[2], shot.width(), shot.height(),
                window.LabelText(vanplay::IDC_STATUS).c_str(),
                window.LabelText(vanplay::IDC_TIME).c_str());
    window.close();
    return 0;
}
