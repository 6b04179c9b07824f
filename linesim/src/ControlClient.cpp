#include "linesim/ControlClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/DeviceEnumeration.h"
#include "usbline/SocketWire.h"

namespace linesim {

namespace {

// A daemon answers at once; this only keeps a stopped or wedged one from
// hanging us.
constexpr std::chrono::milliseconds kAnswerTimeout{3000};
constexpr std::chrono::milliseconds kConnectTimeout{1000};

class LineReader {
public:
    LineReader(int fd, const usbline::wire::Deadline& deadline) : fd_(fd), deadline_(deadline) {}
    bool TimedOut() const { return timedOut_; }
    std::optional<std::string> Next() {
        for (;;) {
            const std::size_t nl = buffer_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            char chunk[4096];
            if (!usbline::wire::WaitReady(fd_, POLLIN, deadline_)) {
                timedOut_ = true;
                return std::nullopt;
            }
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    usbline::wire::Deadline deadline_;
    bool timedOut_ = false;
    std::string buffer_;
};

// "OK <n> lines" announces n more lines.
std::size_t FollowingLines(const std::string& first) {
    const std::string head = "OK ", tail = " lines";
    if (first.size() <= head.size() + tail.size() || first.compare(0, 3, head) != 0 ||
        first.compare(first.size() - tail.size(), tail.size(), tail) != 0)
        return 0;
    const std::string digits = first.substr(3, first.size() - 3 - tail.size());
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoul(digits);
}

}  // namespace

bool ControlClient::HasControlCharacters(const std::string& text) {
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

ControlClient::Reply ControlClient::Query(int id, const std::string& line) {
    namespace wire = usbline::wire;
    Reply reply;
    std::string request = line;
    request.erase(request.find_last_not_of("\r\n") + 1);
    if (HasControlCharacters(request)) {
        reply.failure = Failure::BadCommand;
        return reply;
    }
    request += '\n';
    int error = 0;
    const int fd = wire::ConnectUnix(vt::ControlSocketPath(id).string(),
                                     wire::Deadline::In(kConnectTimeout), &error);
    if (fd < 0) {
        reply.failure = error == EACCES || error == EPERM ? Failure::NoPermission
                        : error == EAGAIN                 ? Failure::Flooded
                                                          : Failure::NotRunning;
        return reply;
    }
    const wire::Deadline deadline = wire::Deadline::In(kAnswerTimeout);
    LineReader reader(fd, deadline);
    if (wire::SendAll(fd, request.data(), request.size(), deadline))
        reply.answer = reader.Next();
    if (reply.answer) {
        const std::size_t more = FollowingLines(*reply.answer);
        for (std::size_t i = 0; i < more && reply.answer; ++i) {
            std::optional<std::string> next = reader.Next();
            if (!next)
                reply.answer.reset();
            else
                *reply.answer += "\n" + *next;
        }
    }
    if (!reply.answer)
        reply.failure = reader.TimedOut() ? Failure::Frozen : Failure::Lost;
    ::close(fd);
    return reply;
}

std::string ControlClient::FailureText(int id, Failure failure) {
    const std::string adapter = "simulated adapter " + std::to_string(id);
    switch (failure) {
        case Failure::None:
            return {};
        case Failure::NotRunning:
            return "no " + adapter + " is running";
        case Failure::NoPermission:
            return "no permission to reach " + adapter + " (its socket " +
                   vt::ControlSocketPath(id).string() + " is not yours)";
        case Failure::Flooded:
            return adapter + " is flooded with connections and takes no more; try again";
        case Failure::Frozen:
            return adapter + " does not answer (its daemon is stopped or hangs)";
        case Failure::Lost:
            return adapter + " closed the connection without answering";
        case Failure::BadCommand:
            return "a command must not contain control characters";
    }
    return {};
}

std::optional<std::string> ControlClient::TrySend(int id, const std::string& line) {
    return Query(id, line).answer;
}

std::string ControlClient::Send(int id, const std::string& line) const {
    const Reply reply = Query(id, line);
    return reply.answer ? *reply.answer : "ERR " + FailureText(id, reply.failure);
}

}  // namespace linesim
