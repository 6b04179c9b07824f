#pragma once
// The inner-line (extension) list: record set over [InnerLineList].

#include "vantelo/core/ContactRecordSet.h"

namespace vantelo {

class CRSInnerLineList : public ContactRecordSet {
public:
    CRSInnerLineList();

protected:
    // 1 name, 2 department, 3 extension, 4 any of the four telephone fields.
    std::string SearchConditionFor(int kind, const std::string& pattern) const override;
    // Also matches the extension number.
    std::string TelephoneCondition(const std::string& quoted,
                                   const std::string& quotedKey) const override;
};

}  // namespace vantelo
