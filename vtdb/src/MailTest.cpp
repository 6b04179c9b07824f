#include "MailTest.h"

#include <ostream>

#include "notify/MailPassword.h"
#include "notify/MailSettings.h"
#include "notify/MailText.h"
#include "notify/SmtpSender.h"
#include "platform/IniStore.h"

namespace vtdb {

namespace {

// The library's lines start "mail: "; here the step is named instead.
std::string WithoutPrefix(const std::string& line) {
    return line.rfind("mail: ", 0) == 0 ? line.substr(6) : line;
}

int Failed(std::ostream& err, const char* step, const std::string& line) {
    err << "vtdb: mail-test: " << step << " failed: " << WithoutPrefix(line) << "\n";
    return 1;
}

}  // namespace

int MailTest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* stop) {
    if (!args.empty()) {
        err << "vtdb: mail-test: unexpected argument '" << args[0] << "'\n";
        return 2;
    }
    std::string error;
    const auto settings = notify::LoadMailSettings(&error);
    if (!settings)
        return Failed(err, "settings", error);
    if (!settings->Enabled())
        return Failed(err, "settings",
                      "mail is off: no Server in [Mail] of " + vt::SettingsFilePath().string());
    const auto password = notify::FindMailPassword(*settings);
    if (!password.ok)
        return Failed(err, "password", password.error);
    const auto outcome = notify::SmtpSender(*settings, password.password)
                             .Send(notify::TestMail(std::chrono::system_clock::now()), stop);
    if (!outcome.Sent())
        return Failed(err, notify::MailFailureName(outcome.failure), outcome.line);
    std::string to;
    for (const auto& address : settings->to) to += (to.empty() ? "" : ", ") + address;
    out << "mail-test: sent to " << to << " through " << settings->server << "\n";
    return 0;
}

}  // namespace vtdb
