#pragma once
// vCard files for the converter; the cards themselves are read and written
// by vcard::VCard (versions 3.0 and 4.0 read, 3.0 written).
//
// A file read becomes a one-sheet workbook whose row 1 holds the sixteen
// field names and each card one row below it, so that it is mapped and
// imported like any worksheet. The fields come from:
//   Name FN (else the parts of N) · Group CATEGORIES (first) · ORG company;department
//   TITLE duty · ADR HOME home address, ADR WORK company address 1 and 2
//   TEL CELL mobile, FAX fax, WORK company telephone 1 and 2, HOME (or no
//   kind) home telephone · X-VANTELO-INNERLINE extension · EMAIL · URL

#include <array>
#include <filesystem>
#include <string>

#include "vanconv/ConvertFields.h"
#include "vcard/VCard.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookWriter.h"

namespace vanconv {

using ContactFields = vcard::ContactFields;
static_assert(vcard::kFieldCount == kFieldCount, "the vCard fields are the sixteen fields");

class VCardFile {
public:
    static bool Read(const std::filesystem::path& file, workbook::Workbook& book,
                     std::string& error);
    // The cards of a text; false with `error` for text that holds none or
    // is not UTF-8.
    static bool Parse(const std::string& text, std::vector<ContactFields>& cards,
                      std::string& error);

    // rows[0] is the header of field names; every further row one contact.
    static bool Write(const std::filesystem::path& file, const workbook::Table& rows,
                      std::string& error);
    // One vCard 3.0, lines folded at 75 bytes and ended with CRLF.
    static std::string CardText(const ContactFields& contact);
};

}  // namespace vanconv
