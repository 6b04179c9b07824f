#include "directory/PhoneNumber.h"

#include <phonenumbers/phonenumberutil.h>

#include <cctype>

namespace directory {

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

// The numbering plan numbers without a country are read in.
constexpr const char* kHomeRegion = "KR";
constexpr int kHomeCountryCode = 82;

std::string DialChars(std::string_view text) {
    std::string out;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '*' || c == '#')
            out.push_back(c);
    return out;
}

// Digits and the separators people put between them, nothing else.
bool OnlyDigitsAndSeparators(std::string_view text) {
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != ' ' && c != '-' && c != '.' &&
            c != '(' && c != ')' && c != '/')
            return false;
    return true;
}

}  // namespace

std::string NationalNumber(std::string_view text) {
    const std::string written = DialChars(text);
    // Service codes are no numbers of the plan; the library would drop their
    // stars.
    if (written.find_first_of("*#") != std::string::npos)
        return written;
    // Written without a country ('+' or an international prefix 00x): the
    // digits are the national form already (with the trunk zero, or a
    // number that has none such as 1588-1234 or an extension). The library
    // takes some 20 us a number, too long for a large book read at start.
    if (OnlyDigitsAndSeparators(text) && written.rfind("00", 0) != 0)
        return written;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    if (written.empty() || util.ParseAndKeepRawInput(std::string(text), kHomeRegion, &number) !=
                               PhoneNumberUtil::NO_PARSING_ERROR)
        return written;
    number.clear_extension();
    const bool international = number.country_code_source() != PhoneNumber::FROM_DEFAULT_COUNTRY;
    std::string formatted;
    if (number.country_code() != kHomeCountryCode) {
        util.Format(number, PhoneNumberUtil::E164, &formatted);
        return formatted;
    }
    if (util.IsValidNumber(number)) {
        // The national format knows which numbers carry the trunk zero
        // (02-..., 010-...) and which do not (1588-...).
        util.Format(number, PhoneNumberUtil::NATIONAL, &formatted);
        return DialChars(formatted);
    }
    if (!international)
        return written;  // a local number, an extension: as written
    util.GetNationalSignificantNumber(number, &formatted);
    return "0" + formatted;
}

}  // namespace directory
