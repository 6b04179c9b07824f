#include "vantelo/core/LookupName.h"

namespace vantelo {

storage::Result<std::string> LookupName(std::string_view number, std::string_view strExt,
                                        CRSAddressList& addressList,
                                        CRSInnerLineList& innerLineList) {
    storage::Result<std::string> name = addressList.MatchNumber(number, strExt);
    if (!name.ok() || !name.value().empty())
        return name;
    return innerLineList.MatchNumber(number, strExt);
}

}  // namespace vantelo
