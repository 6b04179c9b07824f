#pragma once
// Search filters for caller look-ups, with every value escaped as RFC 4515
// says, so a number holding '*', '(', ')', '\' or NUL is only ever a value
// and never changes the filter's shape.

#include <string>
#include <string_view>
#include <vector>

namespace directory {

// `value` with '*', '(', ')', '\' and NUL written as \2a, \28, \29, \5c, \00.
std::string EscapeFilterValue(std::string_view value);

// Entries with a number ending like `nationalNumber` in any of the
// attributes: "(|(telephoneNumber=*4567)(mobile=*4567))". A directory
// writes numbers in many ways ("+82 2-123-4567", "02)123-4567"), and the
// last four digits are written together in all of them; the caller of the
// filter reads each number found to keep only the entries that really hold
// the number. Empty when there is nothing to look for.
std::string NumberFilter(const std::vector<std::string>& attributes,
                         std::string_view nationalNumber);

}  // namespace directory
