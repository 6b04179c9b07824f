#pragma once
// Call screening: which callers the phone keeps out. A rule is a pattern
// (digits with '*' for any run of digits and '?' for one digit, or the words
// "withheld" for a caller-ID message without a number and "unknown" for a
// ring without any caller-ID message), block or permit, and for a block what
// to do. A permit rule beats every block rule; among blocks the longest
// matching pattern decides. Pure, so every case is a table row.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace vantelo {

enum class RuleKind { Block, Permit };
enum class BlockAction {
    HangUp,    // answer and release at once
    Ignore,    // stay silent and let it ring out
    Greeting,  // answer, play the screening prompt, release
};

inline constexpr const char* kWithheldPattern = "withheld";
inline constexpr const char* kUnknownPattern = "unknown";
inline constexpr std::size_t kMaxPatternLength = 32;

struct ScreeningRule {
    std::string pattern;
    RuleKind kind = RuleKind::Block;
    BlockAction action = BlockAction::HangUp;
    std::string note;
    long hits = 0;
    std::optional<vt::LocalTime> lastHit;
};

// What the phone knows of a caller when it decides.
struct ScreenedCaller {
    std::string number;     // empty when withheld or unknown
    bool withheld = false;  // a caller-ID message without a number
    bool unknown = false;   // no caller-ID message at all
};

struct ScreeningDecision {
    bool blocked = false;
    BlockAction action = BlockAction::HangUp;
    std::string pattern;  // the rule that decided (block or permit); empty when none
};

// Why a pattern cannot be stored; each face words it in its own language.
enum class PatternFault { None, Empty, TooLong, BadCharacter };
PatternFault PatternFaultOf(std::string_view pattern);
// Empty when the pattern can be stored, else why not (one line).
std::string PatternProblem(std::string_view pattern);
bool PatternMatches(std::string_view pattern, const ScreenedCaller& caller);
ScreeningDecision Decide(const std::vector<ScreeningRule>& rules, const ScreenedCaller& caller);

// "hangup", "ignore", "greeting" and back; nothing for another word.
const char* ActionName(BlockAction action);
std::optional<BlockAction> ActionNamed(std::string_view name);

}  // namespace vantelo
