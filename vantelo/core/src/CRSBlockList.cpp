#include "vantelo/core/CRSBlockList.h"

#include "StoreBuffer.h"
#include "platform/Translate.h"
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

namespace {

// The Action column: 0 hang up, 1 ignore, 2 greeting.
int ActionCode(BlockAction action) {
    return action == BlockAction::Ignore ? 1 : action == BlockAction::Greeting ? 2 : 0;
}

BlockAction ActionOfCode(std::int64_t code) {
    return code == 1   ? BlockAction::Ignore
           : code == 2 ? BlockAction::Greeting
                       : BlockAction::HangUp;
}

}  // namespace

Status CRSBlockList::ShowAll() {
    if (!IsOpen())
        if (Status s = Open(); !s.ok())
            return s;
    return ApplyFilter("");
}

ScreeningRule CRSBlockList::CurrentRule() {
    ScreeningRule r;
    r.pattern = GetText("Pattern");
    r.kind = GetInteger("RuleKind") == 1 ? RuleKind::Permit : RuleKind::Block;
    r.action = ActionOfCode(GetInteger("Action"));
    r.note = GetText("Note");
    r.hits = static_cast<long>(GetInteger("Hits"));
    if (auto at = storage::ParseDateTime(GetText("LastHit")))
        r.lastHit = *at;
    return r;
}

storage::Result<std::vector<ScreeningRule>> CRSBlockList::Rules() {
    if (Status s = ShowAll(); !s.ok())
        return s;
    std::vector<ScreeningRule> rules;
    for (long i = 0; i < GetRecordCount(); ++i) {
        if (Status s = SetAbsolutePosition(i); !s.ok())
            return s;
        rules.push_back(CurrentRule());
    }
    return rules;
}

Status CRSBlockList::SetChoices(const ScreeningRule& rule) {
    for (auto [name, value] :
         {std::pair<const char*, Value>{"RuleKind", rule.kind == RuleKind::Permit ? 1 : 0},
          {"Action", ActionCode(rule.action)},
          {"Note", rule.note}})
        if (Status s = SetField(name, value); !s.ok())
            return s;
    return Status::Ok();
}

Status CRSBlockList::Add(const ScreeningRule& rule) {
    if (const std::string problem = PatternProblem(rule.pattern); !problem.empty())
        return Status(ErrorCode::InvalidArgument, problem);
    auto found = Find(rule.pattern);
    if (!found.ok())
        return found.status();
    if (found.value())
        return Status(
            ErrorCode::InvalidArgument,
            vt::Translate("CRSBlockList",
                          QT_TRANSLATE_NOOP("CRSBlockList", "%1에 대한 규칙이 이미 있습니다"),
                          {rule.pattern}));
    return StoreBuffer(*this, AddNew(), [&] {
        Status s = SetField("Pattern", rule.pattern);
        if (s.ok())
            s = SetField("Hits", static_cast<std::int64_t>(rule.hits));
        return s.ok() ? SetChoices(rule) : s;
    });
}

Status CRSBlockList::Change(const ScreeningRule& rule) {
    if (Status s = SeekRule(rule.pattern); !s.ok())
        return s;
    return StoreBuffer(*this, Edit(), [&] { return SetChoices(rule); });
}

Status CRSBlockList::SeekRule(std::string_view pattern) {
    auto found = Find(pattern);
    if (!found.ok())
        return found.status();
    if (!found.value())
        return Status(ErrorCode::NoCurrentRecord,
                      vt::Translate("CRSBlockList",
                                    QT_TRANSLATE_NOOP("CRSBlockList", "%1에 대한 규칙이 없습니다"),
                                    {std::string(pattern)}));
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
