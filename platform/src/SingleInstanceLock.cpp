#include "platform/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/Folders.h"

namespace vt {

SingleInstanceLock::SingleInstanceLock(std::string name) : name_(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::filesystem::path SingleInstanceLock::LockFile() const {
    return RuntimeFolder() / (name_ + ".lock");
}

bool SingleInstanceLock::Acquire() {
    if (fd_ >= 0) return true;
    int fd = ::open(LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vt
