#include "workbook/Workbook.h"

#include <fstream>

#include "CsvReader.h"
#include "XlsReader.h"
#include "XlsxReader.h"
#include "platform/Translate.h"

namespace workbook {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::unique_ptr<Workbook> Workbook::Open(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "%1을(를) 열 수 없습니다"),
                              {file.string()});
        return nullptr;
    }
    unsigned char magic[8] = {};
    in.read(reinterpret_cast<char*>(magic), sizeof magic);
    const auto got = in.gcount();
    in.close();

    auto book = std::make_unique<Workbook>();
    bool ok = false;
    if (got >= 4 && magic[0] == 'P' && magic[1] == 'K' && magic[2] == 3 && magic[3] == 4) {
        ok = ReadXlsx(file, *book, error);
    } else if (got == 8 && magic[0] == 0xD0 && magic[1] == 0xCF && magic[2] == 0x11 &&
               magic[3] == 0xE0) {
        ok = ReadXls(file, *book, error);
    } else if (Lower(file.extension().string()) == ".csv") {
        ok = ReadCsv(file, *book, error);
    } else {
        error = vt::Translate(
            "workbook",
            QT_TRANSLATE_NOOP("workbook", "%1은(는) 통합 문서(.xlsx, .xls, .csv)가 아닙니다"),
            {file.filename().string()});
    }
    if (!ok)
        return nullptr;
    return book;
}

std::vector<std::string> Workbook::SheetNames() const {
    std::vector<std::string> names;
    for (const auto& s : sheets_) names.push_back(s->Name());
    return names;
}

const Sheet* Workbook::GetSheet(int index) const {
    if (index < 0 || index >= SheetCount())
        return nullptr;
    return sheets_[index].get();
}

Sheet& Workbook::AddSheet(std::string name) {
    sheets_.push_back(std::make_unique<Sheet>(std::move(name)));
    return *sheets_.back();
}

}  // namespace workbook
