#include "vanconv/VCardFile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Translate.h"

namespace vanconv {

namespace {

constexpr size_t kMaxFileBytes = 256u << 20;

}  // namespace

bool VCardFile::Parse(const std::string& text, std::vector<ContactFields>& cards,
                      std::string& error) {
    return vcard::VCard::Parse(text, cards, error);
}

bool VCardFile::Read(const std::filesystem::path& file, workbook::Workbook& book,
                     std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileBytes) {
        error =
            ec ? vt::Translate("vanconv", QT_TRANSLATE_NOOP("vanconv", "%1을(를) 열 수 없습니다"),
                               {file.string()})
               : vt::Translate("vanconv", QT_TRANSLATE_NOOP("vanconv", "파일이 너무 큽니다"));
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    std::vector<ContactFields> cards;
    if (!Parse(all.str(), cards, error))
        return false;
    workbook::Sheet& sheet = book.AddSheet(file.stem().string());
    for (int f = 0; f < kFieldCount; ++f) sheet.SetText(1, f + 1, kConvertFields[f].field);
    int row = 2;
    for (const auto& c : cards) {
        if (row > workbook::Sheet::kMaxRows) {
            error = vt::Translate(
                "vanconv",
                QT_TRANSLATE_NOOP("vanconv", "파일의 카드가 시트가 담을 수 있는 것보다 많습니다"));
            return false;
        }
        for (int f = 0; f < kFieldCount; ++f) sheet.SetText(row, f + 1, c[f]);
        ++row;
    }
    return true;
}

std::string VCardFile::CardText(const ContactFields& contact) {
    return vcard::VCard::CardText(contact);
}

bool VCardFile::Write(const std::filesystem::path& file, const workbook::Table& rows,
                      std::string& error) {
    std::string text;
    for (size_t r = 1; r < rows.size(); ++r) {
        ContactFields c;
        for (int f = 0; f < kFieldCount && f < static_cast<int>(rows[r].size()); ++f)
            c[f] = rows[r][f];
        text += CardText(c);
    }
    return workbook::WorkbookWriter::WriteText(file, text, error);
}

}  // namespace vanconv
