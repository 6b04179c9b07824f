#include "linesim/ControlClient.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/DeviceEnumeration.h"
#include "usbline/SocketWire.h"

namespace linesim {

namespace {

// A daemon answers at once; this only keeps a wedged peer from hanging us.
constexpr int kAnswerTimeoutSeconds = 10;

class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}
    std::optional<std::string> Next() {
        for (;;) {
            const std::size_t nl = buffer_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            char chunk[4096];
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

std::optional<std::string> ControlClient::TrySend(int id, const std::string& line) {
    const std::string path = vt::ControlSocketPath(id).string();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return std::nullopt;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    timeval tv{kAnswerTimeoutSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::optional<std::string> answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
        std::string request = line;
        request.erase(request.find_last_not_of("\r\n") + 1);
        request += '\n';
        const bool sent = usbline::wire::TransferAll(request.size(), [&](std::size_t done) {
            return ::send(fd, request.data() + done, request.size() - done, MSG_NOSIGNAL);
        });
        LineReader reader(fd);
        if (sent)
            answer = reader.Next();
        if (answer) {
            const std::size_t more = FollowingLines(*answer);
            for (std::size_t i = 0; i < more && answer; ++i) {
                std::optional<std::string> next = reader.Next();
                if (!next)
                    answer.reset();
                else
                    *answer += "\n" + *next;
            }
        }
    }
    ::close(fd);
    return answer;
}

std::string ControlClient::Send(int id, const std::string& line) const {
    std::optional<std::string> answer = TrySend(id, line);
    return answer ? *answer : "ERR no simulated adapter " + std::to_string(id) + " is running";
}

}  // namespace linesim
