#pragma once
// The one way a spool hands its records over: oldest first, each record the
// receiver took is removed, and the first refusal stops the walk (what is
// left is offered again next time).

#include "storage/RecordSet.h"

namespace vantelo {

// `opened` is the result of opening `spool`; `offer` hands over its current
// record. The number of records handed over, or the refusal.
template <typename Offer>
storage::Result<int> HandOverInOrder(storage::RecordSet& spool, storage::Status opened,
                                     Offer offer) {
    storage::Status s = std::move(opened);
    if (s.ok() && spool.GetRecordCount() > 0)
        s = spool.MoveFirst();
    int handed = 0;
    while (s.ok() && spool.GetRecordCount() > 0 && !spool.IsEOF()) {
        s = offer();
        if (!s.ok())
            return s;
        ++handed;
        s = spool.Delete();
        if (s.ok())
            s = spool.MoveNext();
    }
    if (!s.ok())
        return s;
    return handed;
}

}  // namespace vantelo
