#include "UsbScan.h"

#include <algorithm>
#include <mutex>

#include "platform/Translate.h"
#include "usbline/UsbAdapterConstants.h"
#include "usbline/UsbAdapters.h"

namespace usbline::usb {

namespace {

struct EndpointNeed {
    std::uint8_t address;
    const char* what;
    bool bulkAllowed, interruptAllowed;
};

// PIPE82 may be interrupt or bulk: both carry the records alike.
constexpr EndpointNeed kNeeds[] = {
    {kEndpointBulkOut, "bulk OUT", true, false},
    {kEndpointBulkIn, "bulk IN", true, false},
    {kEndpointStatus, "interrupt IN", false, true},
    {kEndpointRecord, "interrupt or bulk IN", true, true},
};

std::string Hex2(std::uint8_t v) {
    static const char* digits = "0123456789abcdef";
    return std::string("0x") + digits[v >> 4] + digits[v & 15];
}

std::string CheckEndpoints(libusb_device* device, bool* recordIsBulk) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0)
        return vt::Translate("usbline", QT_TRANSLATE_NOOP("usbline", "그 구성을 읽을 수 없습니다"));
    std::string problem;
    const libusb_interface_descriptor* alt = nullptr;
    for (int i = 0; i < config->bNumInterfaces && !alt; ++i)
        for (int a = 0; a < config->interface[i].num_altsetting; ++a)
            if (config->interface[i].altsetting[a].bInterfaceNumber == kInterface &&
                config->interface[i].altsetting[a].bAlternateSetting == 0)
                alt = &config->interface[i].altsetting[a];
    if (!alt) {
        problem =
            vt::Translate("usbline", QT_TRANSLATE_NOOP("usbline", "인터페이스 %1이(가) 없습니다"),
                          {std::to_string(kInterface)});
    } else {
        for (const EndpointNeed& need : kNeeds) {
            bool ok = false;
            for (int e = 0; e < alt->bNumEndpoints && !ok; ++e) {
                const libusb_endpoint_descriptor& d = alt->endpoint[e];
                const int type = d.bmAttributes & 3;
                ok = d.bEndpointAddress == need.address &&
                     ((type == LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK && need.bulkAllowed) ||
                      (type == LIBUSB_ENDPOINT_TRANSFER_TYPE_INTERRUPT && need.interruptAllowed));
                if (ok && need.address == kEndpointRecord)
                    *recordIsBulk = type == LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK;
            }
            if (!ok) {
                problem = vt::Translate(
                    "usbline",
                    QT_TRANSLATE_NOOP("usbline", "그 인터페이스에 %1 엔드포인트 %2이(가) 없습니다"),
                    {need.what, Hex2(need.address)});
                break;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return problem;
}

std::string PathOf(libusb_device* device, std::vector<int>* key) {
    std::uint8_t ports[8];
    const int n = libusb_get_port_numbers(device, ports, 8);
    const int bus = libusb_get_bus_number(device);
    key->push_back(bus);
    std::string path = kUsbPathPrefix + std::to_string(bus) + "-";
    for (int i = 0; i < n; ++i) {
        key->push_back(ports[i]);
        path += (i ? "." : "") + std::to_string(ports[i]);
    }
    return n > 0 ? path : std::string();
}

std::mutex& ProblemMutex() {
    static std::mutex m;
    return m;
}

std::string& LastProblem() {
    static std::string line;
    return line;
}

}  // namespace

UsbScan::UsbScan(libusb_context* context, const std::vector<UsbId>& ids) {
    const ssize_t n = libusb_get_device_list(context, &list_);
    std::vector<std::pair<std::vector<int>, FoundDevice>> found;
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list_[i], &d) != 0)
            continue;
        const UsbId id{d.idVendor, d.idProduct};
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            continue;
        std::vector<int> key;
        FoundDevice f;
        f.path = PathOf(list_[i], &key);
        if (f.path.empty())
            continue;  // a root hub is never an adapter
        f.device = list_[i];
        f.id = id;
        f.endpointProblem = CheckEndpoints(list_[i], &f.recordIsBulk);
        found.emplace_back(std::move(key), std::move(f));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& f : found) devices_.push_back(std::move(f.second));
}

UsbScan::~UsbScan() {
    if (list_)
        libusb_free_device_list(list_, 1);
}

const FoundDevice* UsbScan::Find(const std::string& path) const {
    for (const FoundDevice& f : devices_)
        if (f.path == path)
            return &f;
    return nullptr;
}

std::string RefusedLine(const FoundDevice& found) {
    return vt::Translate(
        "usbline",
        QT_TRANSLATE_NOOP("usbline",
                          "어댑터 %1 (%2)은(는) adapters.conf에 있지만 %3; 거부했습니다"),
        {found.path, FormatUsbId(found.id), found.endpointProblem});
}

std::string OpenProblem(const FoundDevice& found, int error, bool claiming) {
    const char* text = nullptr;
    switch (error) {
        case LIBUSB_ERROR_ACCESS:
            text = QT_TRANSLATE_NOOP(
                "usbline",
                "어댑터 %1 (%2)을(를) 열 수 없습니다: 권한이 없습니다. udev 규칙을 설치하고 "
                "(cmake --install 또는 tyctl adapters --udev-rule) udev를 다시 읽은 뒤 어댑터를 "
                "다시 꽂으십시오 (docs/real-adapter.md)");
            break;
        case LIBUSB_ERROR_BUSY:
            text = QT_TRANSLATE_NOOP("usbline",
                                     "어댑터 %1 (%2)을(를) 다른 프로그램이 쓰고 "
                                     "있습니다; 그 프로그램을 닫고 다시 시도하십시오");
            break;
        default:
            text = claiming
                       ? QT_TRANSLATE_NOOP("usbline", "어댑터 %1 (%2)을(를) 차지할 수 없습니다: %3")
                       : QT_TRANSLATE_NOOP("usbline", "어댑터 %1 (%2)을(를) 열 수 없습니다: %3");
            break;
    }
    return vt::Translate("usbline", text,
                         {found.path, FormatUsbId(found.id), libusb_error_name(error)});
}

void SetLastProblem(const std::string& line) {
    std::lock_guard lock(ProblemMutex());
    LastProblem() = line;
}

}  // namespace usbline::usb

namespace usbline {

std::string AdapterProblem() {
    std::lock_guard lock(usb::ProblemMutex());
    return usb::LastProblem();
}

}  // namespace usbline
