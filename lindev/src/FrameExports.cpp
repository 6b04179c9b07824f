// Exports of the device table and library frame.

#include "DeviceTable.h"
#include "SlotAccess.h"
#include "lindev/lindev.h"

using lindev::CLineDevice;
using lindev::DeviceTable;
using lindev::OnSlot;

extern "C" {

int TY_InitializeAllDevice(void) { return DeviceTable::Instance().InitializeAll(); }

int TY_OpenDeviceByIndex(int slot, int logFlag) {
    return DeviceTable::Instance().OpenByIndex(slot, logFlag != 0);
}

int TY_CloseDeviceByIndex(int slot) { return DeviceTable::Instance().CloseByIndex(slot); }

int TY_OpenAllDevice(void) { return DeviceTable::Instance().OpenAll(); }

int TY_CloseAllDevice(void) { return DeviceTable::Instance().CloseAll(); }

int TY_StartService(vt::HWND window, int slot) {
    return DeviceTable::Instance().StartService(window, slot);
}

int TY_StopService(int slot) { return DeviceTable::Instance().StopService(slot); }

int TY_StartServiceAllDevice(vt::HWND window) {
    return DeviceTable::Instance().StartServiceAll(window);
}

int TY_StopServiceAllDevice(void) { return DeviceTable::Instance().StopServiceAll(); }

int TY_GetHW_Version(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.HwVersion(); });
}

int TY_GetFW_Version(int slot) {
    return OnSlot(slot, 0, [](CLineDevice& d) { return d.FwVersion(); });
}

}  // extern "C"
