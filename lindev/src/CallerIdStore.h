#pragma once
// The caller ID of one slot: the date, time and number taken from the
// adapter's caller-ID message, and the 64-byte output record that
// TY_GetCIDData returns. The service thread writes it while the application
// reads it, so every access takes the store's lock.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "usbline/AdapterProtocol.h"

namespace lindev {

class CallerIdStore {
public:
    static constexpr std::size_t kReplySize = usbline::protocol::kCallerIdReplySize;
    static constexpr std::size_t kMaxDigits = 19;
    static constexpr std::size_t kOutputSize = 64;

    // Empties the store and the output buffer.
    void Clear();

    // Parses a multiple-data message (byte 0 already checked to be 0x80):
    // byte 1 the message length, then typed, length-prefixed parameters
    // (1 date and time, 2 calling number). Never reads past the reply and
    // keeps at most 19 digits, whatever the length bytes say.
    void Parse(const std::uint8_t (&reply)[kReplySize]);

    // Fills the output buffer (date, time, number length byte, number) and
    // returns it up to its first NUL byte.
    std::string BuildRecord();

    // The output buffer as it is now, up to its first NUL byte.
    std::string Output() const;

    std::string Date() const;
    std::string Time() const;
    std::string Number() const;

private:
    mutable std::mutex mutex_;
    char date_[4] = {};  // month, day
    char time_[4] = {};  // hour, minute
    std::uint8_t numberLength_ = 0;
    char number_[kMaxDigits] = {};
    char output_[kOutputSize] = {};
};

}  // namespace lindev
