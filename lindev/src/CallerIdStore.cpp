#include "CallerIdStore.h"

#include <algorithm>
#include <cstring>

namespace lindev {

namespace {

constexpr std::uint8_t kDateTime = 1;
constexpr std::uint8_t kCallingNumber = 2;
constexpr std::size_t kDateTimeBytes = 8;

std::string UpToNul(const char* text, std::size_t size) {
    return std::string(text, ::strnlen(text, size));
}

}  // namespace

void CallerIdStore::Clear() {
    std::lock_guard lock(mutex_);
    std::memset(date_, 0, sizeof date_);
    std::memset(time_, 0, sizeof time_);
    numberLength_ = 0;
    std::memset(number_, 0, sizeof number_);
    std::memset(output_, 0, sizeof output_);
}

void CallerIdStore::Parse(const std::uint8_t (&reply)[kReplySize]) {
    std::lock_guard lock(mutex_);
    int remaining = reply[1];
    std::size_t at = 2;  // the type byte of the current parameter
    while (remaining != 0 && at + 1 < kReplySize) {
        const std::uint8_t type = reply[at];
        if (type == kDateTime) {
            // The length byte is taken to be 8; all 8 value bytes must be there.
            const std::size_t values = at + 2;
            if (values + kDateTimeBytes > kReplySize) break;
            std::memcpy(date_, reply + values, 4);
            std::memcpy(time_, reply + values + 4, 4);
            at = values + kDateTimeBytes;
            remaining -= 10;
        } else if (type == kCallingNumber) {
            const std::size_t n = reply[at + 1];
            const std::size_t values = at + 2;
            const std::size_t kept = std::min({n, kMaxDigits, kReplySize - values});
            std::memset(number_, 0, sizeof number_);
            std::memcpy(number_, reply + values, kept);
            numberLength_ = static_cast<std::uint8_t>(kept);
            at = values + n;
            remaining -= static_cast<int>(n) + 2;
        } else {
            break;
        }
    }
}

std::string CallerIdStore::BuildRecord() {
    std::lock_guard lock(mutex_);
    std::memset(output_, 0, sizeof output_);
    std::memcpy(output_, date_, 4);
    std::memcpy(output_ + 4, time_, 4);
    output_[8] = static_cast<char>(numberLength_);
    std::memcpy(output_ + 9, number_, numberLength_);
    return UpToNul(output_, sizeof output_);
}

std::string CallerIdStore::Output() const {
    std::lock_guard lock(mutex_);
    return UpToNul(output_, sizeof output_);
}

std::string CallerIdStore::Date() const {
    std::lock_guard lock(mutex_);
    return UpToNul(date_, sizeof date_);
}

std::string CallerIdStore::Time() const {
    std::lock_guard lock(mutex_);
    return UpToNul(time_, sizeof time_);
}

std::string CallerIdStore::Number() const {
    std::lock_guard lock(mutex_);
    return std::string(number_, numberLength_);
}

}  // namespace lindev
