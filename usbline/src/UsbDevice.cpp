#include "UsbDevice.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "UsbScan.h"
#include "usbline/AdapterIds.h"
#include "usbline/UsbAdapterConstants.h"

namespace usbline::usb {

struct UsbDevice::Op {
    enum class Kind { Status, Record, OneShot };
    UsbDevice* device;
    Kind kind;
    bool done = false;
    libusb_transfer_status status = LIBUSB_TRANSFER_ERROR;
    int actual = 0;
};

namespace {

using Clock = std::chrono::steady_clock;

// Waits in slices, so that no wait is endless even where the condition is
// meant to end it.
constexpr std::chrono::seconds kWaitSlice{1};

libusb_transfer* NewTransfer(std::size_t bufferLength) {
    libusb_transfer* t = libusb_alloc_transfer(0);
    if (!t)
        return nullptr;
    t->buffer = static_cast<unsigned char*>(std::calloc(1, std::max<std::size_t>(bufferLength, 1)));
    if (!t->buffer) {
        libusb_free_transfer(t);
        return nullptr;
    }
    t->flags = LIBUSB_TRANSFER_FREE_BUFFER;
    return t;
}

}  // namespace

std::shared_ptr<UsbDevice> UsbDevice::Open(const std::string& path, std::string* problem) {
    std::shared_ptr<UsbDevice> device(new UsbDevice);
    if (!device->Start(path, problem))
        return nullptr;
    return device;
}

bool UsbDevice::Start(const std::string& path, std::string* problem) {
    path_ = path;
    const std::vector<UsbId> ids = LoadAdapterIds();
    if (ids.empty())
        return false;
    if (libusb_init(&context_) != 0) {
        context_ = nullptr;
        *problem = "USB cannot be used (libusb did not start)";
        return false;
    }
    bool recordIsBulk = false;
    {
        UsbScan scan(context_, ids);
        const FoundDevice* found = scan.Find(path);
        if (!found)
            return false;
        if (!found->endpointProblem.empty()) {
            *problem = RefusedLine(*found);
            return false;
        }
        int r = libusb_open(found->device, &handle_);
        if (r != 0) {
            handle_ = nullptr;
            if (r != LIBUSB_ERROR_NO_DEVICE && r != LIBUSB_ERROR_NOT_FOUND)
                *problem = OpenProblem(*found, r, false);
            return false;
        }
        // A kernel driver that holds the interface is detached at the claim
        // and attached again at the release.
        libusb_set_auto_detach_kernel_driver(handle_, 1);
        r = libusb_claim_interface(handle_, kInterface);
        if (r != 0) {
            if (r != LIBUSB_ERROR_NO_DEVICE)
                *problem = OpenProblem(*found, r, true);
            libusb_close(handle_);
            handle_ = nullptr;
            return false;
        }
        recordIsBulk = found->recordIsBulk;
    }
    recordTransferIsBulk_ = recordIsBulk;

    for (int i = 0; i < kStatusTransfers; ++i) {
        libusb_transfer* t = NewTransfer(kStatusReportLength);
        if (!t)
            return false;
        libusb_fill_interrupt_transfer(t, handle_, kEndpointStatus, t->buffer,
                                       static_cast<int>(kStatusReportLength), &OnTransfer,
                                       new Op{this, Op::Kind::Status}, 0);
        statusTransfers_.push_back(t);
    }
    for (int i = 0; i < kRecordTransfers; ++i) {
        libusb_transfer* t = NewTransfer(kRecordLength);
        if (!t)
            return false;
        if (recordTransferIsBulk_)
            libusb_fill_bulk_transfer(t, handle_, kEndpointRecord, t->buffer,
                                      static_cast<int>(kRecordLength), &OnTransfer,
                                      new Op{this, Op::Kind::Record}, 0);
        else
            libusb_fill_interrupt_transfer(t, handle_, kEndpointRecord, t->buffer,
                                           static_cast<int>(kRecordLength), &OnTransfer,
                                           new Op{this, Op::Kind::Record}, 0);
        recordTransfers_.push_back(t);
    }
    events_ = std::thread([this] { EventLoop(); });
    std::lock_guard lock(mutex_);
    // The status word is kept from the open on, so that a read before the
    // listener starts already answers the adapter's state.
    for (libusb_transfer* t : statusTransfers_)
        if (!SubmitLocked(t))
            return false;
    return true;
}

UsbDevice::~UsbDevice() {
    Shutdown();
}

void UsbDevice::EventLoop() {
    pthread_setname_np(pthread_self(), "usbline-usb");
    while (!stopEvents_.load()) {
        timeval slice{1, 0};
        libusb_handle_events_timeout_completed(context_, &slice, nullptr);
    }
}

void UsbDevice::Shutdown() {
    {
        std::unique_lock lock(mutex_);
        if (shutDown_)
            return;
        shutDown_ = true;
        closing_ = true;
        changed_.notify_all();
        CancelAllLocked();
        // Blocked calls wake on closing_ and leave; then nothing uses the
        // handle but this close.
        if (!changed_.wait_for(lock, kCancelTimeout,
                               [&] { return inFlight_.empty() && calls_ == 0; }))
            wedged_ = true;
    }
    if (events_.joinable()) {
        stopEvents_.store(true);
        libusb_interrupt_event_handler(context_);
        events_.join();
    }
    // Transfers the adapter never gave back stay allocated, and so does the
    // device they belong to: freeing them could let a late completion write
    // into freed memory.
    if (wedged_)
        return;
    for (auto* list : {&statusTransfers_, &recordTransfers_}) {
        for (libusb_transfer* t : *list) {
            delete static_cast<Op*>(t->user_data);
            libusb_free_transfer(t);
        }
        list->clear();
    }
    if (handle_) {
        libusb_release_interface(handle_, kInterface);
        libusb_close(handle_);
        handle_ = nullptr;
    }
    if (context_) {
        libusb_exit(context_);
        context_ = nullptr;
    }
}

bool UsbDevice::Usable() {
    std::lock_guard lock(mutex_);
    return !closing_ && !gone_;
}

bool UsbDevice::SubmitLocked(libusb_transfer* t) {
    if (closing_ || gone_)
        return false;
    const int r = libusb_submit_transfer(t);
    if (r == 0) {
        inFlight_.insert(t);
        return true;
    }
    if (r == LIBUSB_ERROR_NO_DEVICE)
        MarkGoneLocked();
    return false;
}

void UsbDevice::MarkGoneLocked() {
    gone_ = true;
    changed_.notify_all();
}

void UsbDevice::CancelAllLocked() {
    // Cancelling never calls back at once: completions come through the
    // event thread, which then waits for this lock.
    for (libusb_transfer* t : inFlight_) libusb_cancel_transfer(t);
}

void LIBUSB_CALL UsbDevice::OnTransfer(libusb_transfer* t) {
    static_cast<Op*>(t->user_data)->device->Completed(t);
}

void UsbDevice::Completed(libusb_transfer* t) {
    std::lock_guard lock(mutex_);
    inFlight_.erase(t);
    if (t->status == LIBUSB_TRANSFER_NO_DEVICE)
        MarkGoneLocked();
    Op* op = static_cast<Op*>(t->user_data);
    switch (op->kind) {
        case Op::Kind::Status:
            StatusDoneLocked(t);
            break;
        case Op::Kind::Record:
            RecordDoneLocked(t);
            break;
        case Op::Kind::OneShot:
            op->done = true;
            op->status = t->status;
            op->actual = t->actual_length;
            break;
    }
    changed_.notify_all();
}

void UsbDevice::StatusDoneLocked(libusb_transfer* t) {
    if (t->status == LIBUSB_TRANSFER_CANCELLED || t->status == LIBUSB_TRANSFER_NO_DEVICE)
        return;
    if (t->status == LIBUSB_TRANSFER_COMPLETED &&
        t->actual_length >= static_cast<int>(kStatusReportLength)) {
        status_ = static_cast<std::uint16_t>(t->buffer[0] | t->buffer[1] << 8);
        statusErrors_ = 0;
    } else if (t->status != LIBUSB_TRANSFER_COMPLETED && ++statusErrors_ >= kListenerErrorLimit) {
        MarkGoneLocked();
        return;
    }
    SubmitLocked(t);
}

void UsbDevice::RecordDoneLocked(libusb_transfer* t) {
    if (t->status == LIBUSB_TRANSFER_CANCELLED || t->status == LIBUSB_TRANSFER_NO_DEVICE)
        return;
    if (t->status == LIBUSB_TRANSFER_COMPLETED) {
        recordErrors_ = 0;
        if (t->actual_length > 0 && ring_) {
            if (ringRecords_ > 0) {
                std::uint8_t* record = ring_ + static_cast<std::size_t>(position_) * kRecordLength;
                const std::size_t n = std::min<std::size_t>(t->actual_length, kRecordLength);
                std::memcpy(record, t->buffer, n);
                std::memset(record + n, 0, kRecordLength - n);
                position_ = (position_ + 1) % ringRecords_;
            }
            ++recordsWritten_;
        }
    } else if (++recordErrors_ >= kListenerErrorLimit) {
        MarkGoneLocked();
        return;
    }
    if (recording_)
        SubmitLocked(t);
}

bool UsbDevice::RunLocked(std::unique_lock<std::mutex>& lock, libusb_transfer* t,
                          unsigned timeoutMs, const CopyOut& copy, int* actual) {
    *actual = 0;
    auto* op = new Op{this, Op::Kind::OneShot};
    t->user_data = op;
    t->callback = &OnTransfer;
    t->timeout = timeoutMs;
    if (!SubmitLocked(t)) {
        delete op;
        libusb_free_transfer(t);
        return false;
    }
    // libusb ends the transfer at its time-out; the extra wait only guards
    // against an event thread that no longer runs.
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs) + kCancelTimeout;
    bool cancelled = false;
    while (!op->done) {
        if (changed_.wait_until(lock, deadline) != std::cv_status::timeout || op->done)
            continue;
        if (cancelled) {
            wedged_ = true;  // t and op stay allocated: see Shutdown
            return false;
        }
        libusb_cancel_transfer(t);
        cancelled = true;
        deadline = Clock::now() + kCancelTimeout;
    }
    const bool ok = op->status == LIBUSB_TRANSFER_COMPLETED;
    *actual = std::max(op->actual, 0);
    if (ok && copy.to && *actual > 0)
        std::memcpy(copy.to, t->buffer + copy.from,
                    std::min<std::size_t>(static_cast<std::size_t>(*actual), copy.max));
    delete op;
    libusb_free_transfer(t);
    return ok;
}

bool UsbDevice::EnterLocked() {
    if (closing_ || gone_)
        return false;
    ++calls_;
    return true;
}

void UsbDevice::LeaveLocked() {
    --calls_;
    changed_.notify_all();
}

bool UsbDevice::Control(bool in, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                        std::uint8_t* data, std::uint16_t length, std::uint32_t* returned) {
    *returned = 0;
    if (length > 0 && !data)
        return false;
    std::unique_lock lock(mutex_);
    if (!EnterLocked())
        return false;
    libusb_transfer* t = NewTransfer(LIBUSB_CONTROL_SETUP_SIZE + length);
    bool ok = false;
    int actual = 0;
    if (t) {
        const std::uint8_t type = static_cast<std::uint8_t>(
            (in ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT) |
            static_cast<int>(LIBUSB_REQUEST_TYPE_VENDOR) | LIBUSB_RECIPIENT_DEVICE);
        libusb_fill_control_setup(t->buffer, type, request, value, index, length);
        if (!in && length > 0)
            std::memcpy(t->buffer + LIBUSB_CONTROL_SETUP_SIZE, data, length);
        libusb_fill_control_transfer(t, handle_, t->buffer, &OnTransfer, nullptr, 0);
        const CopyOut copy{in ? data : nullptr, LIBUSB_CONTROL_SETUP_SIZE, length};
        ok = RunLocked(lock, t, static_cast<unsigned>(kControlTimeout.count()), copy, &actual);
    }
    LeaveLocked();
    if (ok)
        *returned = static_cast<std::uint32_t>(actual);
    return ok;
}

bool UsbDevice::Bulk(std::uint8_t endpoint, std::uint8_t* data, std::uint32_t length,
                     std::uint32_t* transferred) {
    *transferred = 0;
    if (length > 0 && !data)
        return false;
    std::unique_lock lock(mutex_);
    if (!EnterLocked())
        return false;
    libusb_transfer* t = NewTransfer(length);
    bool ok = false;
    int actual = 0;
    if (t) {
        const bool in = (endpoint & LIBUSB_ENDPOINT_IN) != 0;
        if (!in && length > 0)
            std::memcpy(t->buffer, data, length);
        libusb_fill_bulk_transfer(t, handle_, endpoint, t->buffer, static_cast<int>(length),
                                  &OnTransfer, nullptr, 0);
        const CopyOut copy{in ? data : nullptr, 0, length};
        const auto timeout = static_cast<unsigned>(kBulkTimeout.count() + length / kBulkBytesPerMs);
        ok = RunLocked(lock, t, timeout, copy, &actual);
    }
    LeaveLocked();
    *transferred = static_cast<std::uint32_t>(actual);
    return ok;
}

std::optional<std::uint16_t> UsbDevice::Status() {
    std::lock_guard lock(mutex_);
    if (closing_ || gone_)
        return std::nullopt;
    return status_;
}

bool UsbDevice::WaitStatusStop() {
    std::unique_lock lock(mutex_);
    if (!EnterLocked())
        return false;
    bool stopped = true;
    if (statusStopPending_) {
        statusStopPending_ = false;
    } else {
        ++statusWaiters_;
        const std::uint64_t seen = statusStops_;
        while (statusStops_ == seen && !closing_ && !gone_) changed_.wait_for(lock, kWaitSlice);
        --statusWaiters_;
        stopped = statusStops_ != seen;
    }
    LeaveLocked();
    return stopped;
}

void UsbDevice::StopStatusWait() {
    std::lock_guard lock(mutex_);
    if (statusWaiters_ > 0)
        ++statusStops_;
    else
        statusStopPending_ = true;
    changed_.notify_all();
}

bool UsbDevice::Record(std::uint8_t* ring, std::uint32_t length, std::uint32_t* bytes) {
    *bytes = 0;
    std::unique_lock lock(mutex_);
    auto recordsInFlight = [&] {
        return std::any_of(recordTransfers_.begin(), recordTransfers_.end(),
                           [&](libusb_transfer* t) { return inFlight_.count(t) > 0; });
    };
    if (recording_ || recordsInFlight() || !EnterLocked())
        return false;
    recording_ = true;
    ring_ = ring;
    ringRecords_ = ring ? static_cast<std::uint32_t>(length / kRecordLength) : 0;
    position_ = 0;
    recordsWritten_ = 0;
    recordErrors_ = 0;
    const std::uint64_t seen = recordStops_;
    for (libusb_transfer* t : recordTransfers_)
        if (!SubmitLocked(t))
            break;
    while (recordStops_ == seen && !closing_ && !gone_) changed_.wait_for(lock, kWaitSlice);

    // No transfer is sent again; those the adapter already answered still
    // land in the ring, then nothing touches it any more.
    recording_ = false;
    for (libusb_transfer* t : recordTransfers_)
        if (inFlight_.count(t))
            libusb_cancel_transfer(t);
    if (!changed_.wait_for(lock, kCancelTimeout, [&] { return !recordsInFlight(); }))
        wedged_ = true;
    ring_ = nullptr;
    *bytes = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(recordsWritten_ * kRecordLength, length));
    LeaveLocked();
    return !gone_;
}

void UsbDevice::StopRecording() {
    std::lock_guard lock(mutex_);
    ++recordStops_;
    changed_.notify_all();
}

std::optional<std::uint32_t> UsbDevice::RecordPosition() {
    std::lock_guard lock(mutex_);
    if (closing_ || gone_)
        return std::nullopt;
    return position_;
}

}  // namespace usbline::usb
