#pragma once
// Keeps only the digits, "*" and "#" of a number text; used wherever a
// number is dialled.

#include <string>
#include <string_view>

namespace vantelo {

std::string CleanNumber(std::string_view text);

}  // namespace vantelo
