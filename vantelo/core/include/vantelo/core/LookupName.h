#pragma once
// The name of a caller's number: the contact book first, then the inner-line
// list when the contact book has no name for it.

#include <string>
#include <string_view>

#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"

namespace vantelo {

storage::Result<std::string> LookupName(std::string_view number, std::string_view strExt,
                                        CRSAddressList& addressList,
                                        CRSInnerLineList& innerLineList);

}  // namespace vantelo
