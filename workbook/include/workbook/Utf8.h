#pragma once
// UTF-8 checks shared by the readers of text files.

#include <string>
#include <string_view>

namespace workbook {

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count);

}  // namespace workbook
