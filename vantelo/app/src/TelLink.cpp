#include "vantelo/app/TelLink.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <thread>

#include "directory/PhoneNumber.h"
#include "i18n/Translations.h"
#include "platform/RequestClient.h"
#include "platform/TranslateNoop.h"
#include "vantelo/core/PhoneIds.h"

extern char** environ;

namespace vantelo {

namespace {

constexpr const char* kInternationalPrefix = "001";
constexpr const char* kContext = "vantelo";
constexpr const char* kNotALink =
    QT_TRANSLATE_NOOP("vantelo", "tel: 또는 callto: 링크가 아닙니다: %1");
constexpr const char* kBrokenEscape =
    QT_TRANSLATE_NOOP("vantelo", "링크의 %-이스케이프가 잘못되었습니다: %1");
constexpr const char* kNoNumber = QT_TRANSLATE_NOOP("vantelo", "링크에 전화번호가 없습니다: %1");
constexpr const char* kTooLong = QT_TRANSLATE_NOOP("vantelo", "번호가 %1자보다 깁니다");
constexpr const char* kCannotStart = QT_TRANSLATE_NOOP("vantelo", "%1을(를) 시작할 수 없습니다");
// How long a started program may take to serve its request socket.
constexpr auto kStartTimeout = std::chrono::seconds(20);

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Percent-escapes decoded; false for a broken escape.
bool Unescape(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

bool IsSeparator(char c) {
    return c == '-' || c == '.' || c == '(' || c == ')' || c == ' ';
}

pid_t StartProgram(const std::string& program) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session: the link handler's end (or its terminal's) is not the phone's.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), &files, &attributes, argv, environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

}  // namespace

bool TelLink::IsLink(const std::string& argument) {
    return StartsWithNoCase(argument, "tel:") || StartsWithNoCase(argument, "callto:");
}

bool TelLink::Number(const std::string& link, std::string& number, std::string& error) {
    std::string rest;
    if (StartsWithNoCase(link, "tel:"))
        rest = link.substr(4);
    else if (StartsWithNoCase(link, "callto:"))
        rest = link.substr(7);
    else {
        error = vt::i18n::Tr(kContext, kNotALink, {link});
        return false;
    }
    if (rest.rfind("//", 0) == 0)
        rest.erase(0, 2);
    std::string text;
    if (!Unescape(rest, text)) {
        error = vt::i18n::Tr(kContext, kBrokenEscape, {link});
        return false;
    }
    text = text.substr(0, text.find_first_of(";?"));
    while (!text.empty() && (text.back() == '/' || text.back() == ' ')) text.pop_back();
    bool global = false;
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' && !global && digits.empty()) {
            global = true;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '*' || c == '#') {
            digits.push_back(c);
        } else if (!IsSeparator(c)) {
            error = vt::i18n::Tr(kContext, kNoNumber, {link});
            return false;
        }
    }
    // A global number is a country code and digits only.
    if (digits.empty() ||
        (global && (digits.size() < 3 || digits.find_first_of("*#") != std::string::npos))) {
        error = vt::i18n::Tr(kContext, kNoNumber, {link});
        return false;
    }
    // Read as every number of the program is, so a link dials what the
    // contact book would match.
    digits = directory::NationalNumber(global ? "+" + digits : digits);
    if (digits.rfind('+', 0) == 0)
        digits = kInternationalPrefix + digits.substr(1);
    if (digits.size() > kMaxDialledNumber) {
        error = vt::i18n::Tr(kContext, kTooLong, {std::to_string(kMaxDialledNumber)});
        return false;
    }
    number = digits;
    return true;
}

int TelLink::Dial(const std::string& link, const std::string& program) {
    std::string number, error;
    if (!Number(link, number, error)) {
        std::fprintf(stderr, "vantelo: %s\n", error.c_str());
        return 1;
    }
    auto answer = vt::RequestClient::Send(vt::kRequestDial, number);
    if (answer.outcome == vt::RequestClient::Outcome::NotRunning) {
        const pid_t started = StartProgram(program);
        if (started < 0) {
            std::fprintf(stderr, "vantelo: %s\n",
                         vt::i18n::Tr(kContext, kCannotStart, {program}).c_str());
            return 1;
        }
        // A start that ends at once (another one won the lock) leaves the
        // dial to the winner, which is asked on until the time-out.
        const auto end = std::chrono::steady_clock::now() + kStartTimeout;
        while (answer.outcome == vt::RequestClient::Outcome::NotRunning &&
               std::chrono::steady_clock::now() < end) {
            ::waitpid(started, nullptr, WNOHANG);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            answer = vt::RequestClient::Send(vt::kRequestDial, number);
        }
    }
    if (answer.outcome == vt::RequestClient::Outcome::Ok)
        return 0;
    std::fprintf(stderr, "vantelo: %s\n", vt::RequestClient::Describe(answer).c_str());
    return answer.outcome == vt::RequestClient::Outcome::NotRunning ? 2 : 1;
}

}  // namespace vantelo
