#include "vanconv/ContactFile.h"

#include <algorithm>

#include "vanconv/VCardFile.h"

namespace vanconv {

const char* const ContactFile::kOpenFilters[3] = {"EXCEL (*.xlsx *.xls)", "vCard (*.vcf)",
                                                  "CSV UTF-8 (*.csv)"};
const char* const ContactFile::kSaveFilters[3] = {"EXCEL (*.xlsx)", "vCard 3.0 (*.vcf)",
                                                  "CSV UTF-8 (*.csv)"};

ContactFile::Kind ContactFile::KindOf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".xlsx")
        return Kind::Xlsx;
    if (ext == ".xls")
        return Kind::Xls;
    if (ext == ".vcf")
        return Kind::VCard;
    if (ext == ".csv")
        return Kind::Csv;
    return Kind::Unknown;
}

bool ContactFile::Writable(const std::filesystem::path& file) {
    const Kind k = KindOf(file);
    return k == Kind::Xlsx || k == Kind::VCard || k == Kind::Csv;
}

std::unique_ptr<workbook::Workbook> ContactFile::Open(const std::filesystem::path& file,
                                                      std::string& error) {
    if (KindOf(file) != Kind::VCard)
        return workbook::Workbook::Open(file, error);
    auto book = std::make_unique<workbook::Workbook>();
    if (!VCardFile::Read(file, *book, error))
        return nullptr;
    return book;
}

bool ContactFile::Write(const std::filesystem::path& file, const workbook::Table& rows,
                        std::string& error) {
    switch (KindOf(file)) {
        case Kind::Xlsx:
            return workbook::WorkbookWriter::WriteXlsx(file, "Sheet1", rows, error);
        case Kind::Csv:
            return workbook::WorkbookWriter::WriteCsv(file, rows, error);
        case Kind::VCard:
            return VCardFile::Write(file, rows, error);
        default:
            error = file.filename().string() + ": the name must end in .xlsx, .vcf or .csv";
            return false;
    }
}

}  // namespace vanconv
