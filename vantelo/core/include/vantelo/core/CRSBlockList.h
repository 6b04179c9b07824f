#pragma once
// The screening rules: record set over [BlockList] in the phone's database
// (a table of its own beside the call log and the contact book), with the
// operations the phone, the settings page and vtdb use.

#include <filesystem>
#include <string_view>
#include <vector>

#include "storage/RecordSet.h"
#include "vantelo/core/Screening.h"

namespace vantelo {

class CRSBlockList : public storage::RecordSet {
public:
    explicit CRSBlockList(std::filesystem::path database);

    // Opens the table as a dynaset, unfiltered.
    storage::Status Open();
    // Every rule, in the order they were added.
    storage::Result<std::vector<ScreeningRule>> Rules();
    // Lists every rule in the order they were added, to be read one at a
    // time (SetAbsolutePosition, then CurrentRule): a long list is never
    // read whole.
    storage::Status ShowAll();
    ScreeningRule CurrentRule();
    // A pattern that cannot be stored, or one that is there already, is
    // refused (InvalidArgument) with one line saying why.
    storage::Status Add(const ScreeningRule& rule);
    // Sets block or permit, the action and the note of the rule that has
    // rule.pattern; its hits stay. NoCurrentRecord when no rule has it.
    storage::Status Change(const ScreeningRule& rule);
    // NoCurrentRecord when no rule has this pattern.
    storage::Status Remove(std::string_view pattern);
    // One more call stopped (or let through) by the rule, at `at`.
    storage::Status RecordHit(std::string_view pattern, const vt::LocalTime& at);

private:
    // Filters the set on the pattern; true when a rule has it.
    storage::Result<bool> Find(std::string_view pattern);
    // Makes the rule with this pattern current; NoCurrentRecord when none.
    storage::Status SeekRule(std::string_view pattern);
    // Writes kind, action and note into the edit buffer.
    storage::Status SetChoices(const ScreeningRule& rule);

    std::filesystem::path database_;
};

}  // namespace vantelo
