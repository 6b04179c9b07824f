#include "vantelo/core/DeskIdentity.h"

#include <sys/random.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>

#include "vantelo/core/PhoneSettings.h"

namespace vantelo {

namespace {

// Cuts a UTF-8 text to `chars` characters.
std::string FirstChars(const std::string& text, size_t chars) {
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && n++ == chars)
            return text.substr(0, i);
    }
    return text;
}

}  // namespace

std::string DeskName(const std::filesystem::path& settingsFile) {
    PhoneSettings settings;
    LoadSettings(settings, settingsFile);
    std::string name = settings.DeskName;
    if (name.empty()) {
        char host[HOST_NAME_MAX + 1] = {};
        if (::gethostname(host, sizeof host - 1) == 0)
            name = host;
    }
    return FirstChars(name, 64);
}

std::string NewCallUid() {
    std::array<unsigned char, 16> b{};
    if (::getrandom(b.data(), b.size(), 0) != static_cast<ssize_t>(b.size())) {
        std::random_device device;
        for (auto& byte : b) byte = static_cast<unsigned char>(device());
    }
    // Version 7: the first 48 bits are the time in milliseconds, so new ids
    // sort last and an index of them grows at its end only.
    const auto ms =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count());
    for (int i = 0; i < 6; ++i)
        b[static_cast<size_t>(i)] = static_cast<unsigned char>(ms >> (40 - 8 * i));
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x70);
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

}  // namespace vantelo
