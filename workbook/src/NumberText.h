#pragma once
// A number as the spreadsheet shows it in a General cell: up to 15
// significant digits, no trailing ".0" for whole numbers.

#include <string>

namespace workbook {

std::string NumberText(double value);

// The stored text of a number cell ("1.5", "1.0000000000000001E-3") shown
// that way; the text itself when it is no number.
std::string StoredNumberText(const std::string& stored);

}  // namespace workbook
