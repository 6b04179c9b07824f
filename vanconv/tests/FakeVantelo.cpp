// A stand-in for a running vantelo, for the converter's tests: it holds
// the single-instance lock and answers the request socket as the agreed
// protocol says. A close request ends it (with --stubborn it answers and
// stays). It logs "<pid> started", "<pid> request <kind>" and "<pid> closed"
// to fake-vantelo.log in the application folder and never outlives 60 s.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/Folders.h"
#include "platform/SingleInstanceLock.h"

namespace {

void Log(const std::string& line) {
    std::ofstream(vt::ApplicationFolder() / "fake-vantelo.log", std::ios::app)
        << ::getpid() << " " << line << "\n";
}

bool ReadAll(int fd, char* buf, size_t n) {
    size_t got = 0;
    while (got < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0)
            return false;
        const ssize_t r = ::read(fd, buf + got, n - got);
        if (r <= 0)
            return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

std::uint32_t U32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    const bool stubborn = argc > 1 && std::strcmp(argv[1], "--stubborn") == 0;
    vt::SingleInstanceLock lock("Korvane_TYC_Plus");
    if (!lock.Acquire())
        return 3;
    const std::string path = (vt::RuntimeFolder() / "Korvane_TYC_Plus.sock").string();
    ::unlink(path.c_str());
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::bind(server, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(server, 4) != 0)
        return 4;
    Log("started");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{server, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0)
            continue;
        const int conn = ::accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0)
            continue;
        char head[12];
        std::string answer = "ERR short request\n";
        std::uint32_t kind = 0;
        if (ReadAll(conn, head, sizeof head)) {
            kind = U32(head + 4);
            const std::uint32_t length = U32(head + 8);
            char payload[1024];
            if (std::memcmp(head, "VTRQ", 4) != 0)
                answer = "ERR bad magic\n";
            else if (length > sizeof payload)
                answer = "ERR too long\n";
            else if (ReadAll(conn, payload, length))
                answer = "OK\n";
        }
        ssize_t ignored = ::write(conn, answer.data(), answer.size());
        (void)ignored;
        ::close(conn);
        Log("request " + std::to_string(kind));
        if (answer == "OK\n" && kind == 256 && !stubborn) {
            ::unlink(path.c_str());
            Log("closed");
            return 0;
        }
    }
    ::unlink(path.c_str());
    return 5;
}
