#include "platform/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Folders.h"

namespace vt {

SingleInstanceLock::SingleInstanceLock(std::string name) : name_(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::filesystem::path SingleInstanceLock::LockFile() const {
    const std::filesystem::path folder = RuntimeFolder();
    return folder.empty() ? folder : folder / (name_ + ".lock");
}

bool SingleInstanceLock::Acquire() {
    if (fd_ >= 0) return true;
    const std::filesystem::path file = LockFile();
    if (file.empty()) return false;  // no private runtime folder
    // A symlink planted at the lock's place is refused, never followed.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool SingleInstanceLock::StillHeld() const {
    if (fd_ < 0) return false;
    struct stat held {}, named {};
    const std::filesystem::path file = LockFile();
    return !file.empty() && ::fstat(fd_, &held) == 0 && ::lstat(file.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vt
