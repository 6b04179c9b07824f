#pragma once
// Marks a text for the translation catalogs without Qt: lupdate reads
// QT_TRANSLATE_NOOP("context", "text") in any C++ file, and the mark is the
// text itself. Toolkit-free code keeps its Korean texts; the programs show
// them through vt::i18n::Tr. The same definition as Qt's, so both may be seen.

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
