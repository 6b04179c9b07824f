// vtdb: reads and writes the call log, contact and call screening tables of
// the database in the application folder ($VANTELO_HOME), through the
// program's record sets; "mail-test" tries the mail settings.

#include <iostream>

#include "VtdbCommands.h"
#include "i18n/Translations.h"

int main(int argc, char** argv) {
    vt::i18n::LoadForUser({"vtdb", "vantelo_core"});
    std::vector<std::string> args(argv + 1, argv + argc);
    return vtdb::Run(args, std::cout, std::cerr);
}
