#include "tyctl/AdapterCommands.h"

#include "Text.h"
#include "platform/DeviceEnumeration.h"
#include "tyctl/AdapterSession.h"
#include "usbline/AdapterIds.h"
#include "usbline/DriverRegistry.h"
#include "usbline/UsbAdapters.h"

namespace tyctl {

namespace {

constexpr const char* kCanOpen = QT_TRANSLATE_NOOP("tyctl", "열 수 있음");
constexpr const char* kCannotOpen = QT_TRANSLATE_NOOP("tyctl", "열 수 없음");
constexpr const char* kCannotOpenBecause = QT_TRANSLATE_NOOP("tyctl", "열 수 없음: %1");

bool CanOpen(const std::string& path) {
    auto driver = usbline::DriverForPath(path);
    const usbline::DriverHandle h = driver->Open(path.c_str());
    if (h == usbline::kInvalidHandle)
        return false;
    driver->Close(h);
    return true;
}

}  // namespace

int Adapters(CommandContext& c) {
    if (c.args.size() == 1 && c.args[0] == "--udev-rule") {
        std::vector<std::string> problems;
        const auto ids = usbline::LoadAdapterIds(&problems);
        for (const auto& p : problems) c.err << "tyctl: " << p << '\n';
        c.out << usbline::UdevRuleText(ids);
        return kExitOk;
    }
    if (!c.args.empty()) {
        c.err << "tyctl: "
              << Text(QT_TRANSLATE_NOOP("tyctl", "사용법: tyctl %1"), {"adapters [--udev-rule]"})
              << '\n';
        return kExitUsage;
    }
    int listed = 0;
    for (const usbline::UsbAdapter& a : usbline::ListUsbAdapters(true)) {
        c.out << a.path << "  usb  " << usbline::FormatUsbId(a.id) << "  "
              << (a.openable ? Text(kCanOpen) : Text(kCannotOpenBecause, {a.problem})) << '\n';
        ++listed;
    }
    for (const std::string& path : vt::EnumerateDeviceInterfaces()) {
        if (path.rfind(usbline::kUsbPathPrefix, 0) == 0)
            continue;
        c.out << path << "  simulated  " << Text(CanOpen(path) ? kCanOpen : kCannotOpen) << '\n';
        ++listed;
    }
    if (listed == 0) {
        c.err << NoAdapterLine() << '\n';
        return kExitNoAdapter;
    }
    return kExitOk;
}

}  // namespace tyctl
