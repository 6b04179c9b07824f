#include "ListeningSocket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "usbline/SocketWire.h"

namespace linesim {

namespace {

constexpr int kBacklog = 64;
// How long a socket found at our path may take to accept before it counts
// as a leftover.
constexpr std::chrono::milliseconds kProbeTimeout{200};

bool Answers(const std::string& path) {
    int error = 0;
    const int fd =
        usbline::wire::ConnectUnix(path, usbline::wire::Deadline::In(kProbeTimeout), &error);
    if (fd < 0)
        return error == EAGAIN;  // a full queue is a live daemon too
    ::close(fd);
    return true;
}

}  // namespace

ListeningSocket::~ListeningSocket() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool ListeningSocket::Open(std::string* error) {
    if (fd_ >= 0)
        return true;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path_.empty() || path_.size() >= sizeof addr.sun_path) {
        *error = path_.empty() ? "no private runtime folder for the sockets"
                               : "socket path too long: " + path_;
        return false;
    }
    std::memcpy(addr.sun_path, path_.c_str(), path_.size() + 1);
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0) {
        if (S_ISSOCK(st.st_mode) && Answers(path_)) {
            *error = "another linesim daemon answers on " + path_;
            return false;
        }
        ::unlink(path_.c_str());  // a leftover of a daemon that died
    }
    // Non-blocking, so the daemon can empty the queue without waiting.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const mode_t old = ::umask(0077);
    const int rc = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::umask(old);
    if (rc < 0 || ::chmod(path_.c_str(), 0600) < 0 || ::listen(fd, kBacklog) < 0 ||
        ::lstat(path_.c_str(), &st) < 0) {
        *error = "cannot serve " + path_ + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return true;
}

bool ListeningSocket::Present() const {
    struct stat st {};
    return fd_ >= 0 && ::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) &&
           st.st_dev == device_ && st.st_ino == inode_;
}

int ListeningSocket::Detach() {
    if (Present())
        ::unlink(path_.c_str());
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace linesim
