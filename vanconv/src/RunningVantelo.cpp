#include "vanconv/RunningVantelo.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/RequestClient.h"
#include "platform/Translate.h"

namespace vanconv {

RunningVantelo::RunningVantelo(int waitMs) : waitMs_(waitMs), lock_("Korvane_TYC_Plus") {}

MainProgram::CloseResult RunningVantelo::Close(const std::function<void()>& whileWaiting) {
    if (lock_.Acquire())
        return CloseResult::NotRunning;
    // A program without a socket may still end on its own: the lock decides.
    vt::RequestClient::Send(vt::kRequestClose, {});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs_);
    while (std::chrono::steady_clock::now() < deadline) {
        if (lock_.Acquire())
            return CloseResult::Closed;
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return lock_.Acquire() ? CloseResult::Closed : CloseResult::StillRunning;
}

void RunningVantelo::Release() {
    lock_.Release();
}

bool RunningVantelo::Start(const VanteloInstall& install, std::string& error) {
    Release();
    if (install.executable.empty()) {
        error = vt::Translate("vanconv",
                              QT_TRANSLATE_NOOP("vanconv", "등록에 시작할 프로그램이 없습니다"));
        return false;
    }
    return StartDetached(install.executable, install.installFolder, error);
}

bool StartDetached(const std::filesystem::path& program, const std::filesystem::path& folder,
                   std::string& error) {
    const std::string path = program.string();
    const std::string dir = folder.string();
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    // Two forks, so the program is nobody's child here; the pipe closes on
    // a successful exec and carries errno otherwise. Only async-signal-safe
    // calls between fork and exec.
    const pid_t child = ::fork();
    if (child < 0) {
        error = std::strerror(errno);
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            int err = 0;
            if (::chdir(dir.c_str()) != 0)
                err = errno;
            else
                ::execv(path.c_str(), argv);
            if (err == 0)
                err = errno;
            ssize_t ignored = ::write(report[1], &err, sizeof err);
            (void)ignored;
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = vt::Translate("vanconv",
                              QT_TRANSLATE_NOOP("vanconv", "%1을(를) 시작할 수 없습니다"), {path});
        return false;
    }
    if (n == static_cast<ssize_t>(sizeof err)) {
        error = vt::Translate("vanconv",
                              QT_TRANSLATE_NOOP("vanconv", "%1을(를) 시작할 수 없습니다: %2"),
                              {path, std::strerror(err)});
        return false;
    }
    return true;
}

}  // namespace vanconv
