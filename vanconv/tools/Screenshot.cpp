// Takes a picture of the converter as the X server shows it (run it under
// xvfb-run): the window with WORKBOOK chosen, its first sheet listed and a
// few columns mapped, written to OUT.png.
//   vanconv_screenshot WORKBOOK OUT.png
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

#include "i18n/Translations.h"
#include "vanconv/RunningVantelo.h"
#include "vanconv/formTYPlus.h"

namespace {

class ShotWindow : public vanconv::formTYPlus {
public:
    ShotWindow(vanconv::MainProgram& p, std::string workbook)
        : formTYPlus(p,
                     [] {
                         vanconv::VanteloInstall i;
                         i.installFolder = "/home/user/.local/share/Vantelo";
                         i.databasePath = i.installFolder + "/VanteloDB1.db";
                         return std::optional<vanconv::VanteloInstall>(i);
                     }),
          workbook_(std::move(workbook)) {}
    std::string ChooseOpenFile() override { return workbook_; }

private:
    std::string workbook_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vanconv_screenshot WORKBOOK OUT.png\n");
        return 2;
    }
    vt::i18n::LoadForUser({"vanconv", "vantelo_core"});  // the locale's language, as the program
    QApplication app(argc, argv);
    vt::i18n::InstallIntoApplication();
    vanconv::RunningVantelo program;
    ShotWindow window(program, argv[1]);
    window.move(30, 30);
    window.show();
    window.Controller().cmdFileOpen_Click();
    window.Select(vanconv::FieldList(0), 1);
    window.Select(vanconv::FieldList(1), 2);
    window.Select(vanconv::FieldList(2), 4);
    window.Select(vanconv::FieldList(4), 5);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 800) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    const QRect area = window.frameGeometry().adjusted(-10, -10, 10, 10);
    QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (!shot.save(argv[2]))
        return 1;
    std::printf("%s: %dx%d\n", argv[2], shot.width(), shot.height());
    return 0;
}
