// vantelo: the phone program.
//   vantelo                   the phone window (headless when built without windows)
//   vantelo --headless        the phone on the line, driven from standard input
//   vantelo tel:NUMBER        dials a tel: or callto: link (starting the program if needed)
//   vantelo --dial NUMBER     asks the running program to dial
//   vantelo --hangup          asks the running program to hang up

#include <cstdio>
#include <cstring>
#include <string>

#include "i18n/Translations.h"
#include "platform/Folders.h"
#include "platform/RequestClient.h"
#include "vantelo/app/HeadlessProgram.h"
#include "vantelo/app/TelLink.h"
#include "vantelo/core/PhoneIds.h"
#ifdef VANTELO_WITH_WINDOW
#include "vantelo/app/WindowProgram.h"
#endif

namespace {

constexpr const char* kContext = "vantelo";
constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "vantelo", "사용법: vantelo [--headless] | tel:번호 | callto:번호 | --dial 번호 | --hangup\n");
constexpr const char* kNumberTooLong =
    QT_TRANSLATE_NOOP("vantelo", "vantelo: 번호가 %1자보다 깁니다\n");

int Request(std::uint32_t kind, const std::string& payload) {
    const auto answer = vt::RequestClient::Send(kind, payload);
    if (answer.outcome == vt::RequestClient::Outcome::Ok)
        return 0;
    std::fprintf(stderr, "vantelo: %s\n", vt::RequestClient::Describe(answer).c_str());
    return answer.outcome == vt::RequestClient::Outcome::NotRunning ? 2 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread: the catalogs are read-only from here on.
    vt::i18n::LoadForUser({"vantelo", "vantelo_core", "vantelo_pages"});
    if (argc == 1) {
#ifdef VANTELO_WITH_WINDOW
        return vantelo::WindowProgram::Run(argc, argv);
#else
        return vantelo::HeadlessProgram::Run();
#endif
    }
    if (argc == 2 && std::strcmp(argv[1], "--headless") == 0)
        return vantelo::HeadlessProgram::Run();
    if (argc == 2 && vantelo::TelLink::IsLink(argv[1]))
        return vantelo::TelLink::Dial(argv[1], (vt::ExecutableFolder() / "vantelo").string());
    if (argc == 3 && std::strcmp(argv[1], "--dial") == 0) {
        if (std::strlen(argv[2]) > vantelo::kMaxDialledNumber) {
            std::fputs(
                vt::i18n::Tr(kContext, kNumberTooLong, {std::to_string(vantelo::kMaxDialledNumber)})
                    .c_str(),
                stderr);
            return 1;
        }
        return Request(vt::kRequestDial, argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], "--hangup") == 0)
        return Request(vt::kRequestHangUp, "");
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(vt::i18n::Tr(kContext, kUsage).c_str(), stdout);
        return 0;
    }
    std::fputs(vt::i18n::Tr(kContext, kUsage).c_str(), stderr);
    return 64;
}
