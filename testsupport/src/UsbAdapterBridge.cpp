#include "testsupport/UsbAdapterBridge.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "linesim/Model.h"

namespace vt::test {

namespace {

using Clock = std::chrono::steady_clock;

// How often the bridge looks at the models (status, records, playback).
constexpr std::chrono::milliseconds kPumpInterval{2};
// Records the adapter keeps while the host has no transfer pending.
constexpr std::size_t kRecordBacklog = 4000;
constexpr std::size_t kRecordSize = 64;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

void Put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x & 0xFF));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}

// Device and configuration descriptors as sysfs' "descriptors" shows them.
std::vector<std::uint8_t> Descriptors(std::uint16_t vendor, std::uint16_t product,
                                      bool fourEndpoints) {
    std::vector<std::uint8_t> d = {18, 1, 0x00, 0x02, 0xFF, 0, 0, 64};
    Put16(d, vendor);
    Put16(d, product);
    Put16(d, 0x0100);
    d.insert(d.end(), {0, 0, 0, 1});
    const std::vector<std::array<std::uint8_t, 4>> endpoints =
        fourEndpoints ? std::vector<std::array<std::uint8_t, 4>>{{0x04, 2, 64, 0},
                                                                 {0x87, 2, 64, 0},
                                                                 {0x86, 3, 2, 10},
                                                                 {0x82, 3, 64, 1}}
                      : std::vector<std::array<std::uint8_t, 4>>{
                            {0x04, 2, 64, 0}, {0x87, 2, 64, 0}, {0x82, 3, 64, 1}};
    const unsigned total = 9 + 9 + 7 * static_cast<unsigned>(endpoints.size());
    d.insert(d.end(), {9, 2});
    Put16(d, total);
    d.insert(d.end(), {1, 1, 0, 0x80, 50});
    d.insert(d.end(), {9, 4, 0, 0, static_cast<std::uint8_t>(endpoints.size()), 0xFF, 0, 0, 0});
    for (const auto& e : endpoints) {
        d.insert(d.end(), {7, 5, e[0], e[1], e[2], 0, e[3]});
    }
    return d;
}

std::string DeviceRecord(const std::string& sysPath, const std::string& devName, int devnum,
                         const char* speed, std::uint16_t vendor, std::uint16_t product,
                         const std::vector<std::uint8_t>& descriptors) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "A: idVendor=%04x\\n\nA: idProduct=%04x\\n\n", vendor, product);
    return "P: " + sysPath + "\nN: " + devName + "\nE: DEVNAME=/dev/" + devName +
           "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nA: busnum=1\\n\nA: devnum=" +
           std::to_string(devnum) + "\\n\nA: speed=" + speed +
           "\\n\nA: bConfigurationValue=1\\n\n" + ids + "A: dev=189:" + std::to_string(devnum - 1) +
           "\\n\nH: descriptors=" + Hex(descriptors) + "\n";
}

// Frees an error a resolve may have left.
struct ErrorGuard {
    GError** error;
    ~ErrorGuard() { g_clear_error(error); }
};

void SetInt(UMockdevIoctlData* data, std::size_t offset, int value) {
    umockdev_ioctl_data_update(data, offset, reinterpret_cast<guint8*>(&value), sizeof value);
}

}  // namespace

struct UsbAdapterBridge::Impl {
    struct Urb {
        UMockdevIoctlData* urb = nullptr;     // the client's usbdevfs_urb
        UMockdevIoctlData* buffer = nullptr;  // its data buffer (may be null)
        UMockdevIoctlClient* client = nullptr;
        std::uint8_t endpoint = 0;
        std::uint8_t type = 0;
        int length = 0;
        std::uint32_t done = 0;  // bulk OUT bytes the model took so far
        bool started = false;    // bulk OUT: the stop-block check was made
    };
    struct ParkedReap {
        UMockdevIoctlClient* client;
        UMockdevIoctlData* arg;  // the client's pointer that gets the URB
        std::optional<Clock::time_point> deadline;
    };
    struct Device {
        Impl* impl = nullptr;
        int port = 0;
        int devnum = 0;
        std::string sysPath, devNode;
        linesim::Model* model = nullptr;
        Options options;
        UMockdevIoctlBase* handler = nullptr;
        bool gone = false;
        std::deque<Urb> pending;
        std::map<UMockdevIoctlClient*, std::deque<Urb>> reapable;
        std::vector<ParkedReap> parked;
        std::optional<std::uint16_t> lastReported;
        std::deque<std::array<std::uint8_t, kRecordSize>> records;
        UMockdevIoctlClient* claimedBy = nullptr;
        bool driverBound = false;
        Counters counters;
    };

    UMockdevTestbed* testbed = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    int nextDevnum = 2;
    std::map<int, std::unique_ptr<Device>> devices;  // by port, plugged
    std::vector<std::unique_ptr<Device>> unplugged;  // kept for their clients
    std::thread pump;

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user);
    bool HandleLocked(Device& d, UMockdevIoctlClient* client);
    void SubmitLocked(Device& d, UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void CompleteLocked(Device& d, Urb urb, int status, int actual);
    void ServeParkedLocked(Device& d);
    void AnswerControlLocked(Device& d, Urb urb);
    void PumpLocked(Device& d, Clock::time_point now);
    void Pump();
};

gboolean UsbAdapterBridge::Impl::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client,
                                         gpointer user) {
    auto* d = static_cast<Device*>(user);
    std::lock_guard lock(d->impl->mutex);
    return d->impl->HandleLocked(*d, client) ? TRUE : FALSE;
}

bool UsbAdapterBridge::Impl::HandleLocked(Device& d, UMockdevIoctlClient* client) {
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    GError* error = nullptr;
    const ErrorGuard guard{&error};
    auto fail = [&](int e) { umockdev_ioctl_client_complete(client, -1, e); };
    auto done = [&] { umockdev_ioctl_client_complete(client, 0, 0); };

    if (d.gone && request != USBDEVFS_REAPURB && request != USBDEVFS_REAPURBNDELAY &&
        request != USBDEVFS_RELEASEINTERFACE) {
        fail(ENODEV);
        return true;
    }
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), &error);
            guint32 value = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                            USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
            if (caps) {
                umockdev_ioctl_data_update(caps, 0, reinterpret_cast<guint8*>(&value), 4);
                umockdev_ioctl_data_unref(caps);
            }
            done();
            return true;
        }
        case USBDEVFS_CLAIMINTERFACE:
            if (d.claimedBy && d.claimedBy != client &&
                umockdev_ioctl_client_get_connected(d.claimedBy)) {
                fail(EBUSY);
                return true;
            }
            if (d.driverBound) {
                fail(EBUSY);
                return true;
            }
            d.claimedBy = client;
            ++d.counters.claims;
            done();
            return true;
        case USBDEVFS_RELEASEINTERFACE:
            if (d.claimedBy == client)
                d.claimedBy = nullptr;
            ++d.counters.releases;
            done();
            return true;
        case USBDEVFS_GETDRIVER: {
            if (!d.driverBound) {
                fail(ENODATA);
                return true;
            }
            UMockdevIoctlData* gd =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_getdriver), &error);
            if (gd) {
                char name[] = "vt_test_driver";
                umockdev_ioctl_data_update(gd, offsetof(usbdevfs_getdriver, driver),
                                           reinterpret_cast<guint8*>(name), sizeof name);
                umockdev_ioctl_data_unref(gd);
            }
            done();
            return true;
        }
        case USBDEVFS_IOCTL: {
            UMockdevIoctlData* io =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_ioctl), &error);
            if (io) {
                const int code = reinterpret_cast<const usbdevfs_ioctl*>(io->data)->ioctl_code;
                umockdev_ioctl_data_unref(io);
                if (code == static_cast<int>(USBDEVFS_DISCONNECT)) {
                    if (!d.driverBound) {
                        fail(ENODATA);
                        return true;
                    }
                    d.driverBound = false;
                    ++d.counters.detaches;
                }
            }
            done();
            return true;
        }
        case USBDEVFS_SUBMITURB:
            SubmitLocked(d, client, arg);
            return true;
        case USBDEVFS_DISCARDURB: {
            const gulong address = *reinterpret_cast<gulong*>(arg->data);
            for (auto it = d.pending.begin(); it != d.pending.end(); ++it) {
                if (it->urb->client_addr == address) {
                    Urb urb = *it;
                    d.pending.erase(it);
                    CompleteLocked(d, urb, -ENOENT, 0);
                    done();
                    return true;
                }
            }
            fail(EINVAL);
            return true;
        }
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY: {
            UMockdevIoctlData* target = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
            if (!target) {
                fail(EFAULT);
                return true;
            }
            auto& queue = d.reapable[client];
            if (!queue.empty()) {
                Urb urb = queue.front();
                queue.pop_front();
                umockdev_ioctl_data_set_ptr(target, 0, urb.urb);
                umockdev_ioctl_data_unref(target);
                umockdev_ioctl_data_unref(urb.urb);
                if (urb.buffer)
                    umockdev_ioctl_data_unref(urb.buffer);
                done();
                return true;
            }
            if (d.gone) {
                umockdev_ioctl_data_unref(target);
                fail(ENODEV);
                return true;
            }
            ParkedReap reap{client, target, std::nullopt};
            if (request == USBDEVFS_REAPURBNDELAY)
                reap.deadline = Clock::now() + std::chrono::milliseconds(kReapHoldMs);
            g_object_ref(client);
            d.parked.push_back(reap);
            wake.notify_all();
            return true;
        }
        case USBDEVFS_SETINTERFACE:
        case USBDEVFS_SETCONFIGURATION:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESETEP:
        case USBDEVFS_RESET:
            done();
            return true;
        default:
            fail(ENOTTY);
            return true;
    }
}

void UsbAdapterBridge::Impl::SubmitLocked(Device& d, UMockdevIoctlClient* client,
                                          UMockdevIoctlData* arg) {
    GError* error = nullptr;
    const ErrorGuard guard{&error};
    UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
    if (!data) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    const auto* u = reinterpret_cast<const usbdevfs_urb*>(data->data);
    Urb urb;
    urb.client = client;
    urb.endpoint = u->endpoint;
    urb.type = u->type;
    urb.length = u->buffer_length;
    if (u->buffer_length > 0)
        urb.buffer = umockdev_ioctl_data_resolve(data, offsetof(usbdevfs_urb, buffer),
                                                 static_cast<gsize>(u->buffer_length), &error);
    urb.urb = data;  // the resolves' references are the URB's own
    umockdev_ioctl_client_complete(client, 0, 0);
    if (urb.type == USBDEVFS_URB_TYPE_CONTROL) {
        ++d.counters.controlTransfers;
        if (d.options.answersControl) {
            AnswerControlLocked(d, urb);
            return;
        }
    }
    d.pending.push_back(urb);
    wake.notify_all();
}

void UsbAdapterBridge::Impl::AnswerControlLocked(Device& d, Urb urb) {
    if (!urb.buffer || urb.length < 8) {
        CompleteLocked(d, urb, -EPIPE, 0);
        return;
    }
    std::uint8_t* b = urb.buffer->data;
    const std::uint8_t requestType = b[0], request = b[1];
    const std::uint16_t value = static_cast<std::uint16_t>(b[2] | b[3] << 8);
    const std::uint16_t index = static_cast<std::uint16_t>(b[4] | b[5] << 8);
    const std::uint16_t length = static_cast<std::uint16_t>(b[6] | b[7] << 8);
    const bool in = (requestType & 0x80) != 0;
    if ((requestType & 0x60) != 0x40 || urb.length < 8 + length) {
        CompleteLocked(d, urb, -EPIPE, 0);  // only vendor requests are answered
        return;
    }
    std::vector<std::uint8_t> data(b + 8, b + 8 + length);
    if (!d.model->VendorRequest(in, request, value, index, length, data.data())) {
        CompleteLocked(d, urb, -EPIPE, 0);
        return;
    }
    if (in && length > 0)
        umockdev_ioctl_data_update(urb.buffer, 8, data.data(), length);
    CompleteLocked(d, urb, 0, length);
}

void UsbAdapterBridge::Impl::CompleteLocked(Device& d, Urb urb, int status, int actual) {
    SetInt(urb.urb, offsetof(usbdevfs_urb, status), status);
    SetInt(urb.urb, offsetof(usbdevfs_urb, actual_length), actual);
    d.reapable[urb.client].push_back(urb);
    ServeParkedLocked(d);
}

void UsbAdapterBridge::Impl::ServeParkedLocked(Device& d) {
    const auto now = Clock::now();
    for (auto it = d.parked.begin(); it != d.parked.end();) {
        auto& queue = d.reapable[it->client];
        if (!queue.empty()) {
            Urb urb = queue.front();
            queue.pop_front();
            umockdev_ioctl_data_set_ptr(it->arg, 0, urb.urb);
            umockdev_ioctl_data_unref(urb.urb);
            if (urb.buffer)
                umockdev_ioctl_data_unref(urb.buffer);
            umockdev_ioctl_client_complete(it->client, 0, 0);
        } else if (d.gone) {
            umockdev_ioctl_client_complete(it->client, -1, ENODEV);
        } else if (it->deadline && now >= *it->deadline) {
            umockdev_ioctl_client_complete(it->client, -1, EAGAIN);
        } else {
            ++it;
            continue;
        }
        umockdev_ioctl_data_unref(it->arg);
        g_object_unref(it->client);
        it = d.parked.erase(it);
    }
}

void UsbAdapterBridge::Impl::PumpLocked(Device& d, Clock::time_point) {
    // Status reports: one whenever the word changed (the first at once).
    const std::optional<std::uint16_t> status = d.model->StatusWord();
    if (status && status != d.lastReported) {
        for (auto it = d.pending.begin(); it != d.pending.end(); ++it) {
            if (it->endpoint != 0x86 || it->length < 2)
                continue;
            const std::uint8_t report[2] = {static_cast<std::uint8_t>(*status & 0xFF),
                                            static_cast<std::uint8_t>(*status >> 8)};
            umockdev_ioctl_data_update(it->buffer, 0, const_cast<std::uint8_t*>(report), 2);
            Urb urb = *it;
            d.pending.erase(it);
            d.lastReported = status;
            ++d.counters.statusReports;
            CompleteLocked(d, urb, 0, 2);
            break;
        }
    }
    // Records: what the model streamed, one per pending transfer. A stopped
    // recording leaves nothing behind for the next.
    if (!d.model->IsRecording())
        d.records.clear();
    std::vector<std::uint8_t> block;
    const std::size_t whole = d.model->TakeRecords(block);
    for (std::size_t r = 0; r < whole; ++r) {
        std::array<std::uint8_t, kRecordSize> record{};
        std::memcpy(record.data(), block.data() + r * kRecordSize, kRecordSize);
        d.records.push_back(record);
        if (d.records.size() > kRecordBacklog) {
            d.records.pop_front();
            ++d.counters.recordsDropped;
        }
    }
    for (auto it = d.pending.begin(); it != d.pending.end() && !d.records.empty();) {
        if (it->endpoint != 0x82 || !it->buffer) {
            ++it;
            continue;
        }
        const int n = std::min<int>(it->length, static_cast<int>(kRecordSize));
        umockdev_ioctl_data_update(it->buffer, 0, d.records.front().data(), n);
        d.records.pop_front();
        ++d.counters.recordsSent;
        Urb urb = *it;
        it = d.pending.erase(it);
        CompleteLocked(d, urb, 0, n);
    }
    // Playback: bulk OUT transfers in order, as fast as the model drains.
    for (auto it = d.pending.begin(); it != d.pending.end(); ++it) {
        if (it->endpoint != 0x04)
            continue;
        const auto length = static_cast<std::uint32_t>(it->length);
        if (!it->started) {
            it->started = true;
            if (d.model->TakeStopBlock(length))
                it->done = length;
        }
        if (it->done < length && it->buffer)
            it->done += d.model->BulkOut(it->buffer->data + it->done, length - it->done);
        if (it->done >= length) {
            d.model->LogTransfer("BULK_OUT length=" + std::to_string(length));
            Urb urb = *it;
            d.pending.erase(it);
            CompleteLocked(d, urb, 0, static_cast<int>(length));
        }
        break;  // the next transfer waits for this one
    }
    // Bulk IN answers at once.
    for (auto it = d.pending.begin(); it != d.pending.end(); ++it) {
        if (it->endpoint != 0x87)
            continue;
        std::vector<std::uint8_t> data(static_cast<std::size_t>(it->length));
        const std::uint32_t n =
            d.model->BulkIn(data.data(), static_cast<std::uint32_t>(data.size()));
        if (n > 0 && it->buffer)
            umockdev_ioctl_data_update(it->buffer, 0, data.data(), n);
        Urb urb = *it;
        d.pending.erase(it);
        CompleteLocked(d, urb, 0, static_cast<int>(n));
        break;
    }
    ServeParkedLocked(d);
}

void UsbAdapterBridge::Impl::Pump() {
    std::unique_lock lock(mutex);
    while (!stopping) {
        const auto now = Clock::now();
        for (auto& [port, d] : devices)
            if (!d->gone)
                PumpLocked(*d, now);
        wake.wait_for(lock, kPumpInterval);
    }
}

UsbAdapterBridge::UsbAdapterBridge() : impl_(std::make_unique<Impl>()) {
    impl_->testbed = umockdev_testbed_new();
    // The root hub of bus 1: the adapters' parent, so that their port paths
    // are known.
    const std::vector<std::uint8_t> hub = {18, 1, 0, 2, 9, 0,  1, 64, 0x6b, 0x1d, 2,    0, 0, 1, 3,
                                           2,  1, 1, 9, 2, 25, 0, 1,  1,    0,    0xE0, 0, 9, 4, 0,
                                           0,  1, 9, 0, 0, 0,  7, 5,  0x81, 3,    4,    0, 12};
    GError* error = nullptr;
    const std::string record =
        DeviceRecord("/devices/usb1", "bus/usb/001/001", 1, "480", 0x1d6b, 0x0002, hub);
    umockdev_testbed_add_from_string(impl_->testbed, record.c_str(), &error);
    if (error)
        g_error_free(error);
    impl_->pump = std::thread([this] { impl_->Pump(); });
}

UsbAdapterBridge::~UsbAdapterBridge() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
        impl_->wake.notify_all();
        for (auto& [port, d] : impl_->devices) d->gone = true;
        for (auto& [port, d] : impl_->devices) impl_->ServeParkedLocked(*d);
    }
    impl_->pump.join();
    g_object_unref(impl_->testbed);
    for (auto* list : {&impl_->devices}) {
        for (auto& [port, d] : *list) {
            for (Impl::Urb& u : d->pending) {
                umockdev_ioctl_data_unref(u.urb);
                if (u.buffer)
                    umockdev_ioctl_data_unref(u.buffer);
            }
            g_object_unref(d->handler);
        }
    }
    for (auto& d : impl_->unplugged) g_object_unref(d->handler);
}

bool UsbAdapterBridge::Available() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload") != nullptr;
}

std::string UsbAdapterBridge::SkipReason() {
    return "not running under umockdev-wrapper (the umockdev preload library)";
}

std::string UsbAdapterBridge::Plug(linesim::Model& model, int port, const Options& options) {
    auto d = std::make_unique<Impl::Device>();
    d->impl = impl_.get();
    d->port = port;
    d->model = &model;
    d->options = options;
    d->driverBound = options.kernelDriverBound;
    {
        std::lock_guard lock(impl_->mutex);
        d->devnum = impl_->nextDevnum++;
    }
    char devName[32];
    std::snprintf(devName, sizeof devName, "bus/usb/001/%03d", d->devnum);
    d->sysPath = "/sys/devices/usb1/1-" + std::to_string(port);
    d->devNode = std::string("/dev/") + devName;
    const std::string record = DeviceRecord(
        d->sysPath.substr(4), devName, d->devnum, "12", options.vendor, options.product,
        Descriptors(options.vendor, options.product, options.fourEndpoints));
    GError* error = nullptr;
    d->handler = umockdev_ioctl_base_new();
    g_signal_connect(d->handler, "handle-ioctl", G_CALLBACK(&Impl::OnIoctl), d.get());
    if (!umockdev_testbed_add_from_string(impl_->testbed, record.c_str(), &error) ||
        !umockdev_testbed_attach_ioctl(impl_->testbed, d->devNode.c_str(), d->handler, &error)) {
        if (error)
            g_error_free(error);
    }
    std::lock_guard lock(impl_->mutex);
    impl_->devices[port] = std::move(d);
    return "usb:1-" + std::to_string(port);
}

std::string UsbAdapterBridge::Plug(linesim::Model& model, int port) {
    return Plug(model, port, Options());
}

void UsbAdapterBridge::Unplug(int port) {
    std::string sysPath;
    {
        std::lock_guard lock(impl_->mutex);
        auto it = impl_->devices.find(port);
        if (it == impl_->devices.end())
            return;
        Impl::Device& d = *it->second;
        d.gone = true;
        while (!d.pending.empty()) {
            Impl::Urb urb = d.pending.front();
            d.pending.pop_front();
            impl_->CompleteLocked(d, urb, -ENODEV, 0);
        }
        impl_->ServeParkedLocked(d);
        sysPath = d.sysPath;
        impl_->unplugged.push_back(std::move(it->second));
        impl_->devices.erase(it);
    }
    umockdev_testbed_uevent(impl_->testbed, sysPath.c_str(), "remove");
    umockdev_testbed_remove_device(impl_->testbed, sysPath.c_str());
}

UsbAdapterBridge::Counters UsbAdapterBridge::CountersOf(int port) {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->devices.find(port);
    if (it != impl_->devices.end())
        return it->second->counters;
    for (auto& d : impl_->unplugged)
        if (d->port == port)
            return d->counters;
    return {};
}

std::string UsbAdapterBridge::RootFolder() const {
    gchar* root = umockdev_testbed_get_root_dir(impl_->testbed);
    std::string s = root ? root : "";
    g_free(root);
    return s;
}

std::string UsbAdapterBridge::DeviceNode(int port) {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->devices.find(port);
    return it != impl_->devices.end() ? it->second->devNode : std::string();
}

}  // namespace vt::test
