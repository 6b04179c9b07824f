#pragma once
// `tel:` and `callto:` links, as the desktop hands them to `vantelo`: the
// number in them cleaned for the line, and the dial request for it sent to
// the running program (started first when none runs).
//
// A link's number is read after its percent-escapes are decoded and up to
// its first parameter (";ext=", ";phone-context=" ...) or query; visual
// separators go. The number is read as every number of the program is
// (directory::NationalNumber): a global number of this country ("+82") is
// dialled as a domestic one ("+82-2-1234-5678" is 0212345678); another
// country's is dialled after the international prefix 001. A local number
// is dialled as written.

#include <string>

namespace vantelo {

class TelLink {
public:
    // Whether the argument is meant as a link (starts with "tel:" or
    // "callto:", any case).
    static bool IsLink(const std::string& argument);

    // The number to dial, or false with one line saying what is wrong.
    static bool Number(const std::string& link, std::string& number, std::string& error);

    // Asks the running program to dial the link's number; when none runs,
    // starts `program` (no shell, its own session) and asks it once it
    // serves requests. The exit status of `vantelo LINK`; problems are one
    // line on standard error.
    static int Dial(const std::string& link, const std::string& program);
};

}  // namespace vantelo
