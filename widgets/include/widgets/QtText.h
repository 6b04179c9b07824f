#pragma once
// Text handed to Qt: every narrow string of the programs is UTF-8 (the
// system's code page on Linux), so one conversion serves all the windows.

#include <QString>
#include <string_view>

namespace vt::widgets {

inline QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace vt::widgets
