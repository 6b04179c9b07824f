#pragma once
// tyctl's texts: Korean is the source; the "tyctl" catalog has the English.
// "%1", "%2" are replaced by `args` after the translation.

#include <initializer_list>
#include <string>

#include "i18n/Translations.h"

namespace tyctl {

inline std::string Text(const char* korean, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr("tyctl", korean, args);
}

}  // namespace tyctl
