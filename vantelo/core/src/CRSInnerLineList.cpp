#include "vantelo/core/CRSInnerLineList.h"

#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

CRSInnerLineList::CRSInnerLineList() : ContactRecordSet(InnerLineListSchema()) {}

std::string CRSInnerLineList::SearchConditionFor(int kind, const std::string& p) const {
    switch (kind) {
        case 1:
            return LikeCondition("Name", p);
        case 2:
            return LikeCondition("CompanyDepartment", p);
        case 3:
            return LikeCondition("CompanyInnerLine", p);
        case 4:
            return TelephoneLike(p);
        default:
            return {};
    }
}

std::string CRSInnerLineList::TelephoneCondition(const std::string& q, const std::string& key) const {
    return TelephoneEquals(q, key, true);
}

}  // namespace vantelo
