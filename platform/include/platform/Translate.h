#pragma once
// Texts of the toolkit-free libraries in the user's language. The libraries
// mark their Korean texts with QT_TRANSLATE_NOOP (platform/TranslateNoop.h)
// and say them through Translate; a program that loads translations installs
// its look-up once at start, before any thread (vt::i18n does). Without one,
// every text is its Korean source.

#include <initializer_list>
#include <string>

#include "platform/TranslateNoop.h"

namespace vt {

// The translation of `text` in `context`; `text` itself when there is none.
using Translator = std::string (*)(const char* context, const std::string& text);

// Installs the look-up (nullptr: none). Not thread-safe: call at start only.
void SetTranslator(Translator translator);

// `text` translated.
std::string Translate(const char* context, const char* text);
// The same with "%1", "%2", "%3" replaced by `args`, after translation and
// all at once (a "%2" inside the first argument stays as it is).
std::string Translate(const char* context, const char* text,
                      std::initializer_list<std::string> args);

}  // namespace vt
