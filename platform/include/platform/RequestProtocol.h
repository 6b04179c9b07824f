#pragma once
// The request socket of a running vantelo: how other programs ask it to dial,
// hang up or close. One request per connection:
//   "VTRQ", kind (u32 LE), payload length (u32 LE, at most 1024), payload;
// answered by one line, "OK\n" or "ERR <reason>\n".

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vt {

inline constexpr char kRequestMagic[4] = {'V', 'T', 'R', 'Q'};
inline constexpr std::size_t kRequestHeaderBytes = 12;
inline constexpr std::uint32_t kMaxRequestPayload = 1024;

// Kinds; any other kind is answered OK and ignored.
inline constexpr std::uint32_t kRequestDial = 16;    // payload: the number (a trailing NUL allowed)
inline constexpr std::uint32_t kRequestHangUp = 32;  // payload ignored
inline constexpr std::uint32_t kRequestClose = 256;  // exit sequence, then the program ends

struct Request {
    std::uint32_t kind = 0;
    std::string payload;
};

// <RuntimeFolder()>/Korvane_TYC_Plus.sock, beside the single-instance lock.
std::filesystem::path RequestSocketPath();

}  // namespace vt
