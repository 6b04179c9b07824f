#include "SyncCommand.h"

#include <ostream>

#include "directory/CardDavSync.h"
#include "directory/CardDavTexts.h"
#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vtdb {

namespace {

int Fail(std::ostream& err, const std::string& line) {
    err << "vtdb: " << line << "\n";
    return 1;
}

std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr(directory::texts::kContext, text, args);
}

}  // namespace

int SyncCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty())
        return Fail(err, vt::i18n::Tr("vtdb", QT_TRANSLATE_NOOP("vtdb", "예상하지 못한 인수 '%1'"),
                                      {args[0]}));
    std::string error;
    const auto settings = directory::LoadCardDavSettings(&error);
    if (!settings)
        return Fail(err, error);
    if (!settings->Enabled())
        return Fail(err, T(directory::texts::kSyncOff));
    const auto prepared = vantelo::PrepareDatabase(vt::SystemClock::Instance());
    if (!prepared.ok())
        return Fail(err, vantelo::PrepareFailureNotice(prepared.status()));
    const notify::PasswordLookup password = directory::FindCardDavPassword(*settings);
    if (!password.ok)
        return Fail(err, T(directory::texts::kNoPassword, {password.error}));
    directory::CardDavSync sync(*settings, password.password, vantelo::DefaultDatabasePath());
    const directory::CardDavReport report = sync.Run();
    for (const std::string& line : report.ChangeLines()) out << line << "\n";
    for (const std::string& line : report.ProblemLines(settings->user))
        err << "vtdb: " << line << "\n";
    if (report.finished)
        out << report.StatusLine(settings->user) << "\n";
    return report.finished && report.problems.empty() ? 0 : 1;
}

}  // namespace vtdb
