#pragma once
// Small text helpers for reading settings and other line-based input.

#include <string>
#include <string_view>

namespace vt {

// `text` without the spaces, tabs and carriage returns at either end.
std::string TrimBlanks(std::string_view text);

// `text` with the ASCII letters in lower case; other bytes (UTF-8 included)
// stay as they are.
std::string AsciiLower(std::string text);

}  // namespace vt
