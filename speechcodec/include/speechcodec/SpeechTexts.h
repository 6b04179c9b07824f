#pragma once
// The refusals of the sound-file readers in the user's language. They are
// Korean texts marked with QT_TRANSLATE_NOOP("speechcodec", ...); a program
// that loads translations installs its look-up here once at start, before any
// thread (vt::i18n::Load does). This library is also built into libtrc.so and
// so cannot reach vt::Translate: it keeps a look-up of its own. Without one,
// every text is its Korean source.

#include <initializer_list>
#include <string>

#include "platform/TranslateNoop.h"

namespace speechcodec {

// The translation of `text` in `context`; `text` itself when there is none.
using TextTranslator = std::string (*)(const char* context, const std::string& text);

// Installs the look-up (nullptr: none). Not thread-safe: call at start only.
void SetTextTranslator(TextTranslator translator);

// The context of every text of this library in the catalogs.
inline constexpr const char* kTextContext = "speechcodec";

// A file (%1) that cannot be opened, and why (%2).
inline constexpr const char* kCannotOpen =
    QT_TRANSLATE_NOOP("speechcodec", "%1을(를) 열 수 없습니다: %2");

// `korean` translated, then "%1", "%2" .. replaced by `args` all at once.
std::string SpeechText(const char* korean, std::initializer_list<std::string> args = {});

}  // namespace speechcodec
