#pragma once
// One opened and claimed real adapter: its own libusb context, an event
// thread that waits in libusb (never polls on a timer), the status reports
// kept pending on the interrupt endpoint and, while a recording runs, the
// records kept pending on the record endpoint.
//
// Every call is thread-safe. A transfer that finds the adapter gone marks it
// gone: every later call fails and Status() answers nothing. Shutdown()
// cancels every transfer, wakes every blocked call, stops the event thread,
// releases the interface and closes the device; it is called by the owner's
// close and never from a transfer's completion.

#include <libusb.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace usbline::usb {

class UsbDevice {
public:
    // Null when absent or not openable; `problem` then gets the line that
    // says why (empty when the adapter is simply not there).
    static std::shared_ptr<UsbDevice> Open(const std::string& path, std::string* problem);
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    void Shutdown();
    bool Usable();

    // One vendor control transfer (IN when `in`); bytes moved in `returned`.
    bool Control(bool in, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                 std::uint8_t* data, std::uint16_t length, std::uint32_t* returned);
    // One bulk transfer on `endpoint`; the bytes moved in `transferred`.
    bool Bulk(std::uint8_t endpoint, std::uint8_t* data, std::uint32_t length,
              std::uint32_t* transferred);

    // The latest status word reported; nullopt once the adapter is gone.
    std::optional<std::uint16_t> Status();
    // Blocks until StopStatusWait (a stop that came first ends the next wait
    // at once), the close or the removal; true for the stop.
    bool WaitStatusStop();
    void StopStatusWait();

    // Writes each record into `ring` (wrapping at `length`) until
    // StopRecording, the close or the removal; true unless the adapter went
    // away. `bytes` gets the bytes written, at most `length`.
    bool Record(std::uint8_t* ring, std::uint32_t length, std::uint32_t* bytes);
    void StopRecording();
    // Records written into the ring, wrapping with it; nullopt once gone.
    std::optional<std::uint32_t> RecordPosition();

private:
    struct Op;
    UsbDevice() = default;
    bool Start(const std::string& path, std::string* problem);
    void EventLoop();
    // Submits `t` (filled with OnTransfer and `op`), under the lock.
    bool SubmitLocked(libusb_transfer* t);
    void MarkGoneLocked();
    void CancelAllLocked();
    static void LIBUSB_CALL OnTransfer(libusb_transfer* t);
    void Completed(libusb_transfer* t);
    void StatusDoneLocked(libusb_transfer* t);
    void RecordDoneLocked(libusb_transfer* t);
    // Where a one-shot transfer's answer goes: `max` bytes from `from`.
    struct CopyOut {
        std::uint8_t* to;
        std::size_t from;
        std::size_t max;
    };
    // Runs a one-shot transfer, waits for it and frees it; false when it
    // failed.
    bool RunLocked(std::unique_lock<std::mutex>& lock, libusb_transfer* t, unsigned timeoutMs,
                   const CopyOut& copy, int* actual);
    // Counts a call that uses the handle; false once closing or gone.
    bool EnterLocked();
    void LeaveLocked();

    libusb_context* context_ = nullptr;
    libusb_device_handle* handle_ = nullptr;
    std::string path_;
    std::thread events_;
    std::atomic<bool> stopEvents_{false};

    std::mutex mutex_;
    std::condition_variable changed_;
    bool closing_ = false;
    bool gone_ = false;
    bool shutDown_ = false;
    int calls_ = 0;
    std::set<libusb_transfer*> inFlight_;
    // Transfers still in flight when Shutdown gave up on them: freed never,
    // so that a late completion finds valid memory.
    bool wedged_ = false;

    std::vector<libusb_transfer*> statusTransfers_;
    std::uint16_t status_ = 0;
    int statusErrors_ = 0;
    std::uint64_t statusStops_ = 0;
    int statusWaiters_ = 0;
    bool statusStopPending_ = false;

    bool recordTransferIsBulk_ = false;
    std::vector<libusb_transfer*> recordTransfers_;
    bool recording_ = false;
    std::uint64_t recordStops_ = 0;
    std::uint8_t* ring_ = nullptr;
    std::uint32_t ringRecords_ = 0;
    std::uint32_t position_ = 0;
    std::uint64_t recordsWritten_ = 0;
    int recordErrors_ = 0;
};

}  // namespace usbline::usb
