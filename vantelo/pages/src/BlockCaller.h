#pragma once
// The pages' "차단" item: a block rule (hang up) for a row's number, stored
// in the page's own database. Both pages say the outcome the same way.

#include <QString>
#include <filesystem>
#include <string_view>

#include "platform/TranslateNoop.h"

namespace vantelo::pages {

inline constexpr const char* kBlockItemText = QT_TRANSLATE_NOOP("BlockCaller", "차단");
inline constexpr const char* kBlockedText =
    QT_TRANSLATE_NOOP("BlockCaller", "차단 목록에 추가했습니다: ");
inline constexpr const char* kAlreadyBlockedText =
    QT_TRANSLATE_NOOP("BlockCaller", "이미 차단 목록에 있는 번호입니다: ");
inline constexpr const char* kBlockFailedText =
    QT_TRANSLATE_NOOP("BlockCaller", "차단 목록에 추가하지 못했습니다: ");
inline constexpr const char* kNoNumberToBlockText =
    QT_TRANSLATE_NOOP("BlockCaller", "차단할 번호가 없습니다.");

// One of the texts above in the user's language.
QString BlockCallerText(const char* text);

// Adds the rule for the digits of `number` and returns the status line's
// text: the number on success, else why nothing was added.
QString BlockCaller(const std::filesystem::path& database, std::string_view number);

}  // namespace vantelo::pages
