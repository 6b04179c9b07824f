#pragma once
#include <string>

namespace vanconv {

// The list label of a worksheet column whose header cell is empty, for the
// 0-based column number: " - A -", " - AA -", " - AZ -".
std::string TitleNumber(long number);

}  // namespace vanconv
