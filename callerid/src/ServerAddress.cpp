#include "callerid/ServerAddress.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstring>

namespace callerid {

namespace {

std::optional<unsigned short> ParsePort(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<unsigned short>(value);
}

std::string Trimmed(const std::string& value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = value.find_last_not_of(" \t");
    return value.substr(first, last - first + 1);
}

}  // namespace

std::optional<ServerAddress> ServerAddress::Parse(const std::string& raw) {
    const std::string value = Trimmed(raw);
    std::string host;
    std::string port;
    if (!value.empty() && value.front() == '[') {
        const auto close = value.find(']');
        if (close == std::string::npos || close + 1 >= value.size() || value[close + 1] != ':')
            return std::nullopt;
        host = value.substr(1, close - 1);
        port = value.substr(close + 2);
        if (host.find(':') == std::string::npos)
            return std::nullopt;  // brackets are for IPv6 only
    } else if (const auto colon = value.rfind(':'); colon != std::string::npos) {
        host = value.substr(0, colon);
        port = value.substr(colon + 1);
        if (host.empty() || host.find(':') != std::string::npos)
            return std::nullopt;  // an IPv6 address needs its brackets
    } else {
        host = "127.0.0.1";  // no address given: this machine only
        port = value;
    }
    const auto number = ParsePort(port);
    if (!number)
        return std::nullopt;
    if (host == "localhost")
        host = "127.0.0.1";

    ServerAddress address;
    if (auto* v4 = reinterpret_cast<sockaddr_in*>(&address.socket);
        ::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(*number);
        address.length = sizeof(sockaddr_in);
    } else if (auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.socket);
               ::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(*number);
        address.length = sizeof(sockaddr_in6);
    } else {
        return std::nullopt;
    }
    address.text = Describe(address.socket);
    return address;
}

std::string ServerAddress::Describe(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        return std::string(text) + ":" + std::to_string(ntohs(v4->sin_port));
    }
    if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        return "[" + std::string(text) + "]:" + std::to_string(ntohs(v6->sin6_port));
    }
    return "?";
}

}  // namespace callerid
