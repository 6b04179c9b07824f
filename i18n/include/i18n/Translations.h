#pragma once
// The translations a program uses, looked up without an application object
// (the headless program and the command-line tools have none). Loaded once
// at start, before any thread, and read-only afterwards.
//
// A catalog is a Qt Linguist file built into the program as the resource
// ":/i18n/<catalog>_<code>.qm". Korean needs none: it is the source text.

#include <initializer_list>
#include <string>

#include "i18n/Language.h"
#include "platform/TranslateNoop.h"

namespace vt::i18n {

// Loads `catalogs` for `language`, replacing what was loaded; false when a
// catalog is missing (its texts then stay in Korean).
bool Load(Language language, std::initializer_list<const char*> catalogs);

// The user's language (setting, then locale), as Load.
bool LoadForUser(std::initializer_list<const char*> catalogs);

// The language last loaded (Korean before any).
Language Current();

// Also hands the loaded translations to the running QCoreApplication, so
// tr() in its widgets speaks the same language. No-op without one.
void InstallIntoApplication();

// `text` (UTF-8 source) in the loaded language; the text itself when no
// catalog has it.
std::string Tr(const char* context, const std::string& text);

// A text composed of lines (a known line, a line break, an error ...):
// the whole when a catalog has it, else each line translated on its own.
std::string TrLines(const char* context, const std::string& text);

// The same with "%1", "%2", "%3" replaced by up to three `args` after
// translation.
std::string Tr(const char* context, const std::string& text,
               std::initializer_list<std::string> args);

}  // namespace vt::i18n
