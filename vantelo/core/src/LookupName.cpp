#include "vantelo/core/LookupName.h"

namespace vantelo {

storage::Result<CallerName> IdentifyCaller(std::string_view number, std::string_view strExt,
                                           CRSAddressList& addressList,
                                           CRSInnerLineList& innerLineList) {
    const std::string bookNumber = ContactRecordSet::NumberAsStored(number, strExt);
    storage::Result<std::string> name = addressList.FindName(number, strExt);
    if (!name.ok())
        return name.status();
    if (!name.value().empty())
        return CallerName{name.value(), false, bookNumber};
    name = innerLineList.FindName(number, strExt);
    if (!name.ok())
        return name.status();
    return CallerName{name.value(), !name.value().empty(), bookNumber};
}

storage::Result<std::string> LookupName(std::string_view number, std::string_view strExt,
                                        CRSAddressList& addressList,
                                        CRSInnerLineList& innerLineList) {
    auto caller = IdentifyCaller(number, strExt, addressList, innerLineList);
    if (!caller.ok())
        return caller.status();
    return caller.value().name;
}

}  // namespace vantelo
