#pragma once
// The one way this layer writes a record: AddNew or Edit, fill the buffer,
// Update; whatever step fails, no edit is left open on the record set.

#include "storage/RecordSet.h"

namespace vantelo {

// `begun` is the result of AddNew or Edit; `fill` sets the fields.
template <typename Fill>
storage::Status StoreBuffer(storage::RecordSet& set, storage::Status begun, Fill fill) {
    storage::Status s = std::move(begun);
    if (s.ok())
        s = fill();
    if (s.ok())
        s = set.Update();
    if (!s.ok())
        set.CancelUpdate();
    return s;
}

}  // namespace vantelo
