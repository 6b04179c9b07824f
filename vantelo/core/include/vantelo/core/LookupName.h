#pragma once
// The name of a caller's number: the contact book first, then the inner-line
// list when the contact book has no name for it. This is the one road every
// program takes to name a caller (the phone at a ring, the call log, vtdb).

#include <string>
#include <string_view>

#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"

namespace vantelo {

// Who a number belongs to; an empty name when nobody.
struct CallerName {
    std::string name;
    bool innerLine = false;  // found in the inner-line list
    std::string bookNumber;  // the number as the book stores it
};

// The record sets are kept for lookups only: they are left filtered on the
// number, which saves re-reading a large list while a caller waits.
storage::Result<CallerName> IdentifyCaller(std::string_view number, std::string_view strExt,
                                           CRSAddressList& addressList,
                                           CRSInnerLineList& innerLineList);

// The name alone.
storage::Result<std::string> LookupName(std::string_view number, std::string_view strExt,
                                        CRSAddressList& addressList,
                                        CRSInnerLineList& innerLineList);

}  // namespace vantelo
