#pragma once
// What the USB back end assumes about the real adapter. Each value here is
// one a real device might contradict; change it here and nowhere else.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace usbline::usb {

// The adapter's one vendor-specific interface and its four endpoints.
inline constexpr int kInterface = 0;
inline constexpr std::uint8_t kEndpointBulkOut = 0x04;  // PIPE04: playback, prompts, images
inline constexpr std::uint8_t kEndpointBulkIn = 0x87;   // PIPE87
inline constexpr std::uint8_t kEndpointStatus = 0x86;   // PIPE86: status reports
inline constexpr std::uint8_t kEndpointRecord = 0x82;   // PIPE82: recording records

// A status report: the 16-bit line status word, little-endian.
inline constexpr std::size_t kStatusReportLength = 2;
// A recording record, as it is written into the caller's ring.
inline constexpr std::size_t kRecordLength = 64;

// Transfers kept pending on the two listening endpoints, so that the next
// report or record has somewhere to land while one is being handled.
inline constexpr int kStatusTransfers = 2;
inline constexpr int kRecordTransfers = 8;
// Listener transfers that fail in a row (not by removal) before the
// adapter is taken for gone.
inline constexpr int kListenerErrorLimit = 8;

// Time-outs: control requests are short; bulk transfers get the base plus
// the stream's pace (bytes per millisecond at real time).
inline constexpr std::chrono::milliseconds kControlTimeout{500};
inline constexpr std::chrono::milliseconds kBulkTimeout{2000};
inline constexpr std::uint32_t kBulkBytesPerMs = 8;
// How long closing waits for the adapter to give back cancelled transfers.
inline constexpr std::chrono::milliseconds kCancelTimeout{2000};

}  // namespace usbline::usb
