#include "BlockCaller.h"

#include "vantelo/core/CRSBlockList.h"
#include "widgets/QtText.h"

namespace vantelo::pages {

using vt::widgets::Q;

QString BlockCaller(const std::filesystem::path& database, std::string_view number) {
    // Digits only: '*' would be a wildcard in a pattern and '#' cannot be
    // stored, and neither is part of a caller's number.
    std::string digits;
    for (char c : number)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    if (digits.empty())
        return QString::fromUtf8(kNoNumberToBlockText);
    CRSBlockList rules(database);
    if (const storage::Status s = rules.Open(); !s.ok())
        return Q(s.message());
    ScreeningRule rule;
    rule.pattern = digits;
    const storage::Status added = rules.Add(rule);
    rules.Close();
    if (!added.ok())
        return Q(added.message());
    return QString::fromUtf8(kBlockedText) + Q(digits);
}

}  // namespace vantelo::pages
