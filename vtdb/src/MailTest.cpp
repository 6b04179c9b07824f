#include "MailTest.h"

#include <ostream>

#include "i18n/Translations.h"
#include "notify/MailPassword.h"
#include "notify/MailSettings.h"
#include "notify/MailText.h"
#include "notify/SmtpSender.h"
#include "platform/IniStore.h"

namespace vtdb {

namespace {

// A text of the vtdb catalog with its arguments.
std::string T(const char* text, std::initializer_list<std::string> args) {
    return vt::i18n::Tr("vtdb", text, args);
}

// The library's lines start "mail: "; here the step is named instead.
std::string WithoutPrefix(const std::string& line) {
    return line.rfind("mail: ", 0) == 0 ? line.substr(6) : line;
}

int Failed(std::ostream& err, const char* step, const std::string& line) {
    err << "vtdb: mail-test: "
        << T(QT_TRANSLATE_NOOP("vtdb", "%1 단계 실패: %2"), {step, WithoutPrefix(line)}) << "\n";
    return 1;
}

}  // namespace

int MailTest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* stop) {
    if (!args.empty()) {
        err << "vtdb: mail-test: "
            << T(QT_TRANSLATE_NOOP("vtdb", "예상하지 못한 인수 '%1'"), {args[0]}) << "\n";
        return 2;
    }
    std::string error;
    const auto settings = notify::LoadMailSettings(&error);
    if (!settings)
        return Failed(err, "settings", error);
    if (!settings->Enabled())
        return Failed(err, "settings",
                      T(QT_TRANSLATE_NOOP("vtdb",
                                          "메일이 꺼져 있습니다: %1의 [Mail]에 Server가 "
                                          "없습니다"),
                        {vt::SettingsFilePath().string()}));
    const auto password = notify::FindMailPassword(*settings);
    if (!password.ok)
        return Failed(err, "password", password.error);
    const auto outcome = notify::SmtpSender(*settings, password.password)
                             .Send(notify::TestMail(std::chrono::system_clock::now()), stop);
    if (!outcome.Sent())
        return Failed(err, notify::MailFailureName(outcome.failure), outcome.line);
    std::string to;
    for (const auto& address : settings->to) to += (to.empty() ? "" : ", ") + address;
    out << "mail-test: "
        << T(QT_TRANSLATE_NOOP("vtdb", "%2을(를) 거쳐 %1(으)로 보냈습니다"), {to, settings->server})
        << "\n";
    return 0;
}

}  // namespace vtdb
