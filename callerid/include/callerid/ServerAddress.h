#pragma once
// The address the caller-ID server listens on, from the CallerIdServer
// setting: "PORT" alone (loopback), "IPv4:PORT", "[IPv6]:PORT" or
// "localhost:PORT". Host names other than localhost are refused: resolving
// one would be a wait on the network at start.

#include <netinet/in.h>
#include <sys/socket.h>

#include <optional>
#include <string>

namespace callerid {

struct ServerAddress {
    sockaddr_storage socket{};
    socklen_t length = 0;
    std::string text;  // as shown in lines: "127.0.0.1:3333", "[::1]:3333"

    // Nothing for a value that is no address and port.
    static std::optional<ServerAddress> Parse(const std::string& value);
    // The text of a peer's socket address.
    static std::string Describe(const sockaddr_storage& address);
};

}  // namespace callerid
