#include "vantelo/core/Screening.h"

#include "platform/Translate.h"

namespace vantelo {

namespace {

constexpr const char* kContext = "Screening";

bool IsWord(std::string_view pattern) {
    return pattern == kWithheldPattern || pattern == kUnknownPattern;
}

// Glob over digits: '*' any run (also none), '?' exactly one character.
bool Glob(std::string_view pattern, std::string_view text) {
    std::size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

PatternFault PatternFaultOf(std::string_view pattern) {
    if (pattern.empty())
        return PatternFault::Empty;
    if (pattern.size() > kMaxPatternLength)
        return PatternFault::TooLong;
    if (IsWord(pattern))
        return PatternFault::None;
    for (char c : pattern)
        if (!((c >= '0' && c <= '9') || c == '*' || c == '?'))
            return PatternFault::BadCharacter;
    return PatternFault::None;
}

std::string PatternProblem(std::string_view pattern) {
    switch (PatternFaultOf(pattern)) {
        case PatternFault::None:
            return {};
        case PatternFault::Empty:
            return vt::Translate(kContext, QT_TRANSLATE_NOOP("Screening", "패턴이 비어 있습니다"));
        case PatternFault::TooLong:
            return vt::Translate(kContext, QT_TRANSLATE_NOOP("Screening", "패턴이 %1자보다 깁니다"),
                                 {std::to_string(kMaxPatternLength)});
        case PatternFault::BadCharacter:
            break;
    }
    return vt::Translate(kContext,
                         QT_TRANSLATE_NOOP("Screening",
                                           "패턴에는 숫자, * 와 ? 만 쓸 수 있습니다 "
                                           "(또는 withheld, unknown): %1"),
                         {std::string(pattern)});
}

bool PatternMatches(std::string_view pattern, const ScreenedCaller& caller) {
    if (pattern == kWithheldPattern)
        return caller.withheld;
    if (pattern == kUnknownPattern)
        return caller.unknown;
    return !caller.number.empty() && Glob(pattern, caller.number);
}

ScreeningDecision Decide(const std::vector<ScreeningRule>& rules, const ScreenedCaller& caller) {
    ScreeningDecision decision;
    const ScreeningRule* block = nullptr;
    for (const ScreeningRule& rule : rules) {
        if (!PatternMatches(rule.pattern, caller))
            continue;
        if (rule.kind == RuleKind::Permit) {
            decision.pattern = rule.pattern;
            return decision;  // a permit beats every block
        }
        if (!block || rule.pattern.size() > block->pattern.size())
            block = &rule;
    }
    if (block) {
        decision.blocked = true;
        decision.action = block->action;
        decision.pattern = block->pattern;
    }
    return decision;
}

const char* ActionName(BlockAction action) {
    switch (action) {
        case BlockAction::HangUp:
            return "hangup";
        case BlockAction::Ignore:
            return "ignore";
        case BlockAction::Greeting:
            return "greeting";
    }
    return "hangup";
}

std::optional<BlockAction> ActionNamed(std::string_view name) {
    for (BlockAction a : {BlockAction::HangUp, BlockAction::Ignore, BlockAction::Greeting})
        if (name == ActionName(a))
            return a;
    return std::nullopt;
}

}  // namespace vantelo
