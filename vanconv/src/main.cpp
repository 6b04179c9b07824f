// vanconv: the contact book converter (window), and its command line.
#include <signal.h>

#include <QApplication>
#include <cstdio>

#include "i18n/Translations.h"
#include "vanconv/BatchConvert.h"
#include "vanconv/CommandLine.h"
#include "vanconv/RunningVantelo.h"
#include "vanconv/formTYPlus.h"

int main(int argc, char** argv) {
    using vanconv::CommandLine;
    vt::i18n::LoadForUser({"vanconv", "vantelo_core"});
    const CommandLine cl = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    vanconv::RunningVantelo vantelo;
    switch (cl.mode) {
        case CommandLine::Mode::Help:
            std::fputs(CommandLine::Usage().c_str(), stdout);
            return 0;
        case CommandLine::Mode::Error:
            std::fprintf(stderr, "vanconv: %s\n%s", cl.error.c_str(), CommandLine::Usage().c_str());
            return 2;
        case CommandLine::Mode::Export:
        case CommandLine::Mode::Import: {
            // A transfer is short and lands whole: SIGINT and SIGTERM wait
            // until it has finished.
            sigset_t stop;
            sigemptyset(&stop);
            sigaddset(&stop, SIGINT);
            sigaddset(&stop, SIGTERM);
            sigprocmask(SIG_BLOCK, &stop, nullptr);
            const int status = vanconv::BatchConvert(vantelo, stdout, stderr).Run(cl);
            std::fflush(stdout);
            sigprocmask(SIG_UNBLOCK, &stop, nullptr);
            return status;
        }
        case CommandLine::Mode::Window:
            break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("vanconv");
    vt::i18n::InstallIntoApplication();
    vanconv::formTYPlus window(vantelo);
    window.show();
    return app.exec();
}
