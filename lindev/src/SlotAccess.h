#pragma once
// Runs an export's body on its slot, or gives the export's failure value
// for a slot index outside the table.

#include "DeviceTable.h"

namespace lindev {

template <typename Result, typename Body>
Result OnSlot(int slot, Result failure, Body body) {
    CLineDevice* device = DeviceTable::Instance().Slot(slot);
    return device ? static_cast<Result>(body(*device)) : failure;
}

}  // namespace lindev
