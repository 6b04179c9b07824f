#pragma once
// The library's device table: eight slots built when the library loads and
// destroyed when it unloads, the adapter paths found by the last scan, and
// the found and open counts.

#include <array>
#include <atomic>
#include <memory>

#include "CLineDevice.h"
#include "platform/MessageWindow.h"

namespace lindev {

class DeviceTable {
public:
    static constexpr int kSlots = 8;
    static constexpr std::size_t kPathSize = 260;

    static DeviceTable& Instance();

    DeviceTable();
    // Ends every worker thread of every slot before any slot is destroyed.
    ~DeviceTable();
    DeviceTable(const DeviceTable&) = delete;
    DeviceTable& operator=(const DeviceTable&) = delete;

    // Null for an index outside 0..7.
    CLineDevice* Slot(int index);

    int InitializeAll();
    int OpenByIndex(int slot, bool log);
    int CloseByIndex(int slot);
    int OpenAll();
    int CloseAll();
    int StartService(vt::HWND window, int slot);
    int StopService(int slot);
    int StartServiceAll(vt::HWND window);
    int StopServiceAll();

private:
    char paths_[kSlots][kPathSize] = {};
    std::array<std::unique_ptr<CLineDevice>, kSlots> slots_;
    std::atomic<int> found_{0};
    std::atomic<int> openCount_{0};
};

}  // namespace lindev
