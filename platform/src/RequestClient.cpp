#include "platform/RequestClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Tick.h"

namespace vt {

namespace {

void PutLittleEndian32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

RequestClient::Answer RequestClient::Send(std::uint32_t kind, const std::string& payload,
                                          std::chrono::milliseconds timeout) {
    Answer answer;
    const auto path = RequestSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.string().size() >= sizeof address.sun_path) {
        answer.text = "socket path too long";
        return answer;
    }
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        answer.text = std::strerror(errno);
        return answer;
    }
    timeval tv{};
    tv.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    tv.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == ENOENT || error == ECONNREFUSED) {
            answer.outcome = Outcome::NotRunning;
            answer.text = kNotRunningText;
        } else {
            answer.text = std::strerror(error);
        }
        return answer;
    }
    std::string message(kRequestMagic, 4);
    PutLittleEndian32(message, kind);
    PutLittleEndian32(message, static_cast<std::uint32_t>(payload.size()));
    message += payload;
    std::size_t sent = 0;
    while (sent < message.size()) {
        const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    std::string reply;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        reply.append(buffer, static_cast<std::size_t>(n));
        if (reply.find('\n') != std::string::npos || reply.size() > 1024)
            break;
    }
    ::close(fd);
    const auto end = reply.find('\n');
    if (end == std::string::npos) {
        answer.text = "no answer from Vantelo";
        return answer;
    }
    reply.resize(end);
    if (reply == "OK") {
        answer.outcome = Outcome::Ok;
    } else if (reply.rfind("ERR ", 0) == 0) {
        answer.outcome = Outcome::Refused;
        answer.text = reply.substr(4);
    } else {
        answer.text = "unexpected answer from Vantelo";
    }
    return answer;
}

std::string RequestClient::Describe(const Answer& answer) {
    switch (answer.outcome) {
        case Outcome::Ok:
            return {};
        case Outcome::Refused:
            return "Vantelo refused the request: " + answer.text;
        case Outcome::NotRunning:
            return kNotRunningText;
        case Outcome::Failed:
            break;
    }
    return "Vantelo did not answer: " + answer.text;
}

}  // namespace vt
