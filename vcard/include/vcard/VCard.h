#pragma once
// Contacts as vCards, the form desktop contact books and address-book
// servers exchange. Reads versions 3.0 and 4.0 (UTF-8; folded lines, escapes,
// TYPE parameters in either version's form) and writes 3.0.
//
// The sixteen contact fields, in the contact table's column order, come from:
//   Name FN (else the parts of N) · Group CATEGORIES (first) · ORG company;department
//   TITLE duty · ADR HOME home address, ADR WORK company address 1 and 2
//   TEL CELL mobile, FAX fax, WORK company telephone 1 and 2, HOME (or no
//   kind) home telephone · X-VANTELO-INNERLINE extension · EMAIL · URL

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vcard {

inline constexpr int kFieldCount = 16;
// Name, Group, HomePhone, HomeAddress, CellPhone, CompanyName,
// CompanyDepartment, CompanyDuty, CompanyAddress1, CompanyAddress2,
// CompanyPhone1, CompanyPhone2, CompanyInnerLine, FaxNum, Email, WebPage.
using ContactFields = std::array<std::string, kFieldCount>;

class VCard {
public:
    // The cards of a text; false with `error` for text that holds none or
    // is not UTF-8.
    static bool Parse(const std::string& text, std::vector<ContactFields>& cards,
                      std::string& error);

    // One vCard 3.0, lines folded at 75 bytes and ended with CRLF.
    static std::string CardText(const ContactFields& contact);

    // `card` (one vCard another program may have written) with the contact's
    // fields put in: only the properties of fields whose value differs from
    // what `card` gives are replaced; every other line (photo, notes, further
    // numbers, the UID ...) stays as it was. A card whose fields all agree
    // comes back unchanged.
    static std::string Merge(const std::string& card, const ContactFields& contact);

    // `card` with the single-valued property `name` (UID, ...) set to
    // `value`: the first such line is replaced, or one is added after VERSION.
    static std::string SetProperty(const std::string& card, std::string_view name,
                                   const std::string& value);
};

}  // namespace vcard
