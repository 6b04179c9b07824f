#include "vantelo/core/UserLog.h"

#include <fcntl.h>
#include <unistd.h>

namespace vantelo {

namespace {

int OpenLog(const std::filesystem::path& appFolder, int mode) {
    const auto file = appFolder / UserLog::kFileName;
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | mode, 0600);
}

}  // namespace

void UserLog::Start(const std::filesystem::path& appFolder) {
    const int fd = OpenLog(appFolder, O_TRUNC);
    if (fd >= 0)
        ::close(fd);
}

void UserLog::Append(const std::filesystem::path& appFolder, const std::string& line) {
    const int fd = OpenLog(appFolder, O_APPEND);
    if (fd < 0)
        return;
    const std::string text = line + "\n";
    if (::write(fd, text.data(), text.size()) < 0) {
        // Dropped: a full disk must not stop the phone.
    }
    ::close(fd);
}

}  // namespace vantelo
