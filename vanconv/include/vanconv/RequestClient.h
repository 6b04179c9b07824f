#pragma once
// The client side of the request socket of a running vantelo: one request
// per connection ("VTRQ", kind and payload length as 32-bit little-endian
// numbers, the payload), answered by one line "OK" or "ERR <reason>".
// Connect, write and read each wait at most the time-out.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vanconv {

inline constexpr std::uint32_t kRequestClose = 256;

// $XDG_RUNTIME_DIR/Korvane_TYC_Plus.sock (the runtime folder's fallback rules).
std::filesystem::path RequestSocketPath();

enum class RequestResult {
    Ok,          // answered "OK"
    NotRunning,  // nothing listens on the socket
    Refused,     // answered "ERR ..." (the reason is in `answer`)
    Failed,      // no answer in time, or a broken connection
};

RequestResult SendRequest(const std::filesystem::path& socket, std::uint32_t kind,
                          std::string_view payload, std::string& answer, int timeoutMs = 2000);

}  // namespace vanconv
