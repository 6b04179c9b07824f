#pragma once
// One listening Unix-domain socket of the daemon (device or control), mode
// 0600. It remembers which file it made, so the daemon can tell when its
// socket was removed (or replaced) under it, and never removes a socket
// another daemon serves.

#include <sys/types.h>

#include <string>

namespace linesim {

class ListeningSocket {
public:
    explicit ListeningSocket(std::string path) : path_(std::move(path)) {}
    ~ListeningSocket();
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;

    // Binds and listens. A socket file already at the path is replaced only
    // when nothing answers on it (left by a daemon that died); a live one is
    // left alone and the open fails with the reason. Open while listening
    // does nothing.
    bool Open(std::string* error);
    // Gives up the listening descriptor (the caller closes it) and removes
    // the socket file if it is still the one made here.
    int Detach();
    // True while the path holds the socket file made by the last Open.
    bool Present() const;

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

private:
    const std::string path_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace linesim
