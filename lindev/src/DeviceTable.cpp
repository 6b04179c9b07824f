#include "DeviceTable.h"

#include <cstring>

#include "DiagnosticLog.h"
#include "platform/Clock.h"
#include "platform/DeviceEnumeration.h"
#include "platform/Tick.h"
#include "usbline/DriverRegistry.h"

namespace lindev {

namespace {

constexpr unsigned kPauseMs = 100;

// Built at load, destroyed at unload.
DeviceTable g_table;

// Opens the path the way the adapter is opened, and closes it again.
bool CanOpen(const std::string& path) {
    std::shared_ptr<usbline::Driver> driver = usbline::DriverForPath(path);
    usbline::DriverHandle handle = driver->Open(path.c_str());
    if (handle == usbline::kInvalidHandle) return false;
    driver->Close(handle);
    return true;
}

}  // namespace

DeviceTable& DeviceTable::Instance() { return g_table; }

DeviceTable::DeviceTable() {
    // The clock that dates log lines is made first, so it is destroyed after
    // the table, whose slots still log their closing at unload.
    vt::SystemClock::Instance();
    for (int i = 0; i < kSlots; ++i) slots_[i] = std::make_unique<CLineDevice>(i);
}

DeviceTable::~DeviceTable() {
    for (auto& slot : slots_) slot->StopAllWorkers();
    for (auto& slot : slots_) slot.reset();
}

CLineDevice* DeviceTable::Slot(int index) {
    if (index < 0 || index >= kSlots) return nullptr;
    return slots_[index].get();
}

int DeviceTable::InitializeAll() {
    found_ = 0;
    openCount_ = 0;
    for (const std::string& path : vt::EnumerateDeviceInterfaces()) {
        if (found_ >= kSlots) break;
        if (path.size() >= kPathSize || !CanOpen(path)) continue;
        char* entry = paths_[found_];
        std::memset(entry, 0, kPathSize);
        std::memcpy(entry, path.data(), path.size());
        ++found_;
    }
    return found_;
}

int DeviceTable::OpenByIndex(int slot, bool log) {
    CLineDevice* device = Slot(slot);
    if (!device) return 0;
    device->Transport().SetDeviceName(paths_[slot]);
    vt::SleepMs(kPauseMs);
    device->SetLogEnabled(log);
    if (openCount_ == 0 && log && !DiagnosticLog::Prepare()) return 0;
    const int result = device->TyOpen();
    if (result == kDone || result == kBusyOrAlready) {
        ++openCount_;
        return 1;
    }
    vt::SleepMs(kPauseMs);
    return 0;
}

int DeviceTable::CloseByIndex(int slot) {
    CLineDevice* device = Slot(slot);
    if (!device) return 0;
    const int result = device->TyClose();
    if (result != kDone && result != kBusyOrAlready) return 0;
    // Never below zero: closing a closed slot must not hide the next first open.
    int count = openCount_.load();
    while (count > 0 && !openCount_.compare_exchange_weak(count, count - 1)) {
    }
    return 1;
}

int DeviceTable::OpenAll() {
    int opened = 0;
    for (int i = 0; i < found_; ++i) {
        slots_[i]->Transport().SetDeviceName(paths_[i]);
        if (openCount_ == 0) DiagnosticLog::CreateSdkMarker();
        if (slots_[i]->TyOpen() != 0) {
            ++opened;
            ++openCount_;
        }
    }
    vt::SleepMs(kPauseMs);
    return opened;
}

int DeviceTable::CloseAll() {
    int closed = 0;
    for (int i = 0; i < found_; ++i)
        if (slots_[i]->TyClose() != 0) ++closed;
    openCount_ = 0;
    found_ = 0;
    return closed;
}

int DeviceTable::StartService(vt::HWND window, int slot) {
    CLineDevice* device = Slot(slot);
    if (!device) return -1;
    vt::SleepMs(kPauseMs);
    return device->StartService(window, slot) ? slot : -1;
}

int DeviceTable::StopService(int slot) {
    CLineDevice* device = Slot(slot);
    if (!device) return -1;
    device->StopService();
    return slot;
}

int DeviceTable::StartServiceAll(vt::HWND window) {
    int started = 0;
    for (int i = 0; i < found_; ++i)
        if (slots_[i]->StartService(window, i)) ++started;
    return started;
}

int DeviceTable::StopServiceAll() {
    int stopped = 0;
    for (int i = 0; i < found_; ++i) {
        slots_[i]->StopService();
        ++stopped;
    }
    return stopped;
}

}  // namespace lindev
