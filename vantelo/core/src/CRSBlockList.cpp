#include "vantelo/core/CRSBlockList.h"

#include "StoreBuffer.h"
#include "storage/DateTimeText.h"
#include "storage/Filter.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

using storage::ErrorCode;
using storage::Status;
using storage::Value;

CRSBlockList::CRSBlockList(std::filesystem::path database)
    : storage::RecordSet(BlockListSchema()), database_(std::move(database)) {}

Status CRSBlockList::Open() {
    return RecordSet::Open(database_, storage::RecordSetType::Dynaset);
}

storage::Result<bool> CRSBlockList::Find(std::string_view pattern) {
    if (!IsOpen())
        if (Status s = Open(); !s.ok())
            return s;
    Status s = ApplyFilter("[Pattern] = " + storage::QuoteText(pattern));
    if (!s.ok())
        return s;
    return GetRecordCount() > 0;
}

storage::Result<std::vector<ScreeningRule>> CRSBlockList::Rules() {
    if (!IsOpen())
        if (Status s = Open(); !s.ok())
            return s;
    if (Status s = ApplyFilter(""); !s.ok())
        return s;
    std::vector<ScreeningRule> rules;
    for (long i = 0; i < GetRecordCount(); ++i) {
        if (Status s = SetAbsolutePosition(i); !s.ok())
            return s;
        ScreeningRule r;
        r.pattern = GetText("Pattern");
        r.kind = GetInteger("RuleKind") == 1 ? RuleKind::Permit : RuleKind::Block;
        const auto action = GetInteger("Action");
        r.action = action == 1   ? BlockAction::Ignore
                   : action == 2 ? BlockAction::Greeting
                                 : BlockAction::HangUp;
        r.note = GetText("Note");
        r.hits = static_cast<long>(GetInteger("Hits"));
        if (auto at = storage::ParseDateTime(GetText("LastHit")))
            r.lastHit = *at;
        rules.push_back(std::move(r));
    }
    return rules;
}

Status CRSBlockList::Add(const ScreeningRule& rule) {
    if (const std::string problem = PatternProblem(rule.pattern); !problem.empty())
        return Status(ErrorCode::InvalidArgument, problem);
    auto found = Find(rule.pattern);
    if (!found.ok())
        return found.status();
    if (found.value())
        return Status(ErrorCode::InvalidArgument, "a rule for " + rule.pattern + " exists already");
    return StoreBuffer(*this, AddNew(), [&] {
        const int action = rule.action == BlockAction::Ignore     ? 1
                           : rule.action == BlockAction::Greeting ? 2
                                                                  : 0;
        for (auto [name, value] :
             {std::pair<const char*, Value>{"Pattern", rule.pattern},
              {"RuleKind", rule.kind == RuleKind::Permit ? 1 : 0},
              {"Action", action},
              {"Note", rule.note},
              {"Hits", static_cast<std::int64_t>(rule.hits)}})
            if (Status s = SetField(name, value); !s.ok())
                return s;
        return Status::Ok();
    });
}

Status CRSBlockList::SeekRule(std::string_view pattern) {
    auto found = Find(pattern);
    if (!found.ok())
        return found.status();
    if (!found.value())
        return Status(ErrorCode::NoCurrentRecord, "no rule for " + std::string(pattern));
    return MoveFirst();
}

Status CRSBlockList::Remove(std::string_view pattern) {
    if (Status s = SeekRule(pattern); !s.ok())
        return s;
    return Delete();
}

Status CRSBlockList::RecordHit(std::string_view pattern, const vt::LocalTime& at) {
    if (Status s = SeekRule(pattern); !s.ok())
        return s;
    const std::int64_t hits = GetInteger("Hits") + 1;
    return StoreBuffer(*this, Edit(), [&] {
        Status s = SetField("Hits", hits);
        if (s.ok())
            s = SetField("LastHit", storage::FormatDateTime(at));
        return s;
    });
}

}  // namespace vantelo
