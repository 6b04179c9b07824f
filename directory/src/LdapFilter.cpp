#include "directory/LdapFilter.h"

#include <cstdio>

namespace directory {

namespace {

// Digits written together at the end of every writing of a number.
constexpr std::size_t kTailLength = 4;

}  // namespace

std::string EscapeFilterValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "\\%02x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string NumberFilter(const std::vector<std::string>& attributes,
                         std::string_view nationalNumber) {
    if (attributes.empty() || nationalNumber.empty())
        return {};
    const std::string_view tail = nationalNumber.size() > kTailLength
                                      ? nationalNumber.substr(nationalNumber.size() - kTailLength)
                                      : nationalNumber;
    const std::string value = EscapeFilterValue(tail);
    std::string out = "(|";
    for (const std::string& attribute : attributes) out += "(" + attribute + "=*" + value + ")";
    return out + ")";
}

}  // namespace directory
