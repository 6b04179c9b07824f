#pragma once
// The adapter driver's device-control codes and pipe names.

#include <cstdint>

namespace usbline {

// Standard layout: device type 0x22 in bits 16-31, access 0, function in
// bits 2-13, transfer method in bits 0-1.
constexpr std::uint32_t MakeControlCode(std::uint32_t function, std::uint32_t method) {
    return (0x22u << 16) | (function << 2) | method;
}

inline constexpr std::uint32_t kMethodBuffered = 0;
inline constexpr std::uint32_t kMethodInDirect = 1;
inline constexpr std::uint32_t kMethodOutDirect = 2;

inline constexpr std::uint32_t IOCTL_VENDOR_WRITE = MakeControlCode(3, kMethodBuffered);    // 0x0022000C
inline constexpr std::uint32_t IOCTL_VENDOR_READ = MakeControlCode(4, kMethodBuffered);     // 0x00220010
inline constexpr std::uint32_t IOCTL_BULK_OUT = MakeControlCode(5, kMethodOutDirect);       // 0x00220016
inline constexpr std::uint32_t IOCTL_BULK_IN = MakeControlCode(6, kMethodInDirect);         // 0x00220019
inline constexpr std::uint32_t IOCTL_INTERRUPT_START = MakeControlCode(7, kMethodInDirect); // 0x0022001D
inline constexpr std::uint32_t IOCTL_INTERRUPT_STOP = MakeControlCode(8, kMethodBuffered);  // 0x00220020
inline constexpr std::uint32_t IOCTL_INTERRUPT_READ = MakeControlCode(9, kMethodBuffered);  // 0x00220024
inline constexpr std::uint32_t IOCTL_RECORD_START = MakeControlCode(10, kMethodInDirect);   // 0x00220029
inline constexpr std::uint32_t IOCTL_RECORD_STOP = MakeControlCode(11, kMethodBuffered);    // 0x0022002C
inline constexpr std::uint32_t IOCTL_RECORD_READ = MakeControlCode(12, kMethodBuffered);    // 0x00220030

static_assert(IOCTL_VENDOR_WRITE == 0x0022000C && IOCTL_VENDOR_READ == 0x00220010);
static_assert(IOCTL_BULK_OUT == 0x00220016 && IOCTL_BULK_IN == 0x00220019);
static_assert(IOCTL_INTERRUPT_START == 0x0022001D && IOCTL_INTERRUPT_STOP == 0x00220020);
static_assert(IOCTL_INTERRUPT_READ == 0x00220024 && IOCTL_RECORD_START == 0x00220029);
static_assert(IOCTL_RECORD_STOP == 0x0022002C && IOCTL_RECORD_READ == 0x00220030);

// Pipe names, opened as "<device path>/<name>".
inline constexpr const char* kPipeRecord = "PIPE82";
inline constexpr const char* kPipeBulkOut = "PIPE04";
inline constexpr const char* kPipeInterrupt = "PIPE86";
inline constexpr const char* kPipeBulkIn = "PIPE87";

// The 7-byte vendor setup record: request, value, index, length (LE).
inline constexpr std::uint32_t kSetupRecordSize = 7;

}  // namespace usbline
