#include "BlockCaller.h"

#include <QCoreApplication>

#include "vantelo/core/CRSBlockList.h"
#include "widgets/QtText.h"

namespace vantelo::pages {

using vt::widgets::Q;

QString BlockCallerText(const char* text) {
    return QCoreApplication::translate("BlockCaller", text);
}

QString BlockCaller(const std::filesystem::path& database, std::string_view number) {
    // Digits only: '*' would be a wildcard in a pattern and '#' cannot be
    // stored, and neither is part of a caller's number.
    std::string digits;
    for (char c : number)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    if (digits.empty())
        return BlockCallerText(kNoNumberToBlockText);
    CRSBlockList rules(database);
    storage::Status added = rules.Open();
    if (added.ok()) {
        ScreeningRule rule;
        rule.pattern = digits;
        added = rules.Add(rule);
        rules.Close();
    }
    // The only refusal a stored number's digits can meet is a rule already there.
    if (added.code() == storage::ErrorCode::InvalidArgument && PatternProblem(digits).empty())
        return BlockCallerText(kAlreadyBlockedText) + Q(digits);
    if (!added.ok())
        return BlockCallerText(kBlockFailedText) + Q(added.message());
    return BlockCallerText(kBlockedText) + Q(digits);
}

}  // namespace vantelo::pages
