// vantelo_grabscreen OUT.png [X Y WIDTH HEIGHT]: a picture of the X screen
// (or a part of it) as the server shows it, for pictures of running programs.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: vantelo_grabscreen OUT.png [X Y WIDTH HEIGHT]\n");
        return 64;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "vantelo_grabscreen: no screen\n");
        return 1;
    }
    const QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                        std::atoi(argv[4]), std::atoi(argv[5]))
                                   : screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vantelo_grabscreen: %s cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
