#pragma once
// The contact book: record set over [AddressList].

#include "vantelo/core/ContactRecordSet.h"

namespace vantelo {

class CRSAddressList : public ContactRecordSet {
public:
    CRSAddressList();

protected:
    // 1 name, 2 company, 3 any of the four telephone fields.
    std::string SearchConditionFor(int kind, const std::string& pattern) const override;
    std::string TelephoneCondition(const std::string& quoted,
                                   const std::string& quotedKey) const override;
};

}  // namespace vantelo
