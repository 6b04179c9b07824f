#include "vantelo/core/CRSAddressList.h"

#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

CRSAddressList::CRSAddressList() : ContactRecordSet(AddressListSchema()) {}

std::string CRSAddressList::SearchConditionFor(int kind, const std::string& p) const {
    switch (kind) {
        case 1:
            return LikeCondition("Name", p);
        case 2:
            return LikeCondition("CompanyName", p);
        case 3:
            return TelephoneLike(p);
        default:
            return {};
    }
}

std::string CRSAddressList::TelephoneCondition(const std::string& q, const std::string& key) const {
    return TelephoneEquals(q, key, false);
}

}  // namespace vantelo
