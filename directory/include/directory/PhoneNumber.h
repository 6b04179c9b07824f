#pragma once
// One reading of a telephone number however it is written: in a contact
// card, a directory entry, a `tel:` link or a caller-ID message. Numbers of
// this country come out in their national form, digits only with the trunk
// zero ("+82 2-123-4567", "02)123-4567" and "021234567" are all
// "021234567"); another country's in the international form ("+16502530000").
// Every match of numbers goes through this one function, so writings that
// mean the same number meet.

#include <string>
#include <string_view>

namespace directory {

// The national form of `text`; empty when it holds no digit. A number
// written without a country (no '+', no international prefix) keeps its
// digits as written, separators dropped: the trunk zero is part of how it
// is dialled here. A service code with '*' or '#' keeps those too.
std::string NationalNumber(std::string_view text);

}  // namespace directory
