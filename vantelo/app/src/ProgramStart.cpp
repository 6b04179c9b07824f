#include "vantelo/app/ProgramStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Folders.h"
#include "platform/IniStore.h"
#include "vantelo/app/PromptInstaller.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo {

namespace {

// The converter finds the program and its folder here.
void WriteAppPaths(const std::filesystem::path& appFolder) {
    vt::IniStore paths(vt::AppPathsFilePath());
    paths.Load();
    paths.SetString("Vantelo.Exe", "Path", appFolder.string() + "/");
    paths.SetString("Vantelo.Exe", "Exe", (vt::ExecutableFolder() / "vantelo").string());
    paths.Save();
}

// A refused lock is either another holder or a lock file that cannot be made.
void ReportLockRefusal(const vt::SingleInstanceLock& lock, const ProgramStart::Report& report) {
    const int fd = ::open(lock.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        report(ProgramStart::Problem::LockFailed,
               lock.LockFile().string() + ": " + std::strerror(errno));
        return;
    }
    ::close(fd);
    report(ProgramStart::Problem::AlreadyRunning, text::kAlreadyRunning);
}

}  // namespace

ProgramStart::ProgramStart() : lock_("Korvane_TYC_Plus") {}

bool ProgramStart::Begin(const Report& report) {
    ::umask(077);  // recordings, prompts, logs and settings are the user's alone
    if (!lock_.Acquire()) {
        ReportLockRefusal(lock_, report);
        return false;
    }
    appFolder_ = vt::ApplicationFolder();
    vt::EnsureFolder(appFolder_, 0700);
    if (::chdir(appFolder_.c_str()) != 0) {
        report(Problem::Other, appFolder_.string() + ": " + std::strerror(errno));
        return false;
    }
    WriteAppPaths(appFolder_);
    const std::string promptError = PromptInstaller::Install(appFolder_);
    if (!promptError.empty())
        report(Problem::Other, promptError);
    return true;
}

vt::RequestServer::Handler ProgramStart::RequestHandler(Post post, CopyData copyData,
                                                        std::function<void()> close) {
    return [post = std::move(post), copyData = std::move(copyData),
            close = std::move(close)](const vt::Request& request) -> std::string {
        if (request.kind == vt::kRequestClose) {
            post(close);
            return {};
        }
        // Refused here as well, so that the caller hears why.
        if (request.kind == vt::kRequestDial &&
            std::string(request.payload.c_str()).size() > kMaxDialledNumber)
            return text::kNumberTooLong;
        post([copyData, request] { copyData(request.kind, request.payload); });
        return {};
    };
}

}  // namespace vantelo
