#include "CsvReader.h"

#include <csv.h>

#include <fstream>
#include <sstream>

#include "platform/Translate.h"
#include "workbook/Utf8.h"
#include "workbook/Workbook.h"

namespace workbook {

namespace {

struct Cursor {
    Sheet* sheet;
    int row = 1;
    int column = 1;
    bool overflow = false;
};

void OnField(void* data, size_t length, void* context) {
    auto* c = static_cast<Cursor*>(context);
    std::string text(static_cast<const char*>(data ? data : ""), data ? length : 0);
    if (!c->sheet->SetText(c->row, c->column, std::move(text)))
        c->overflow = true;
    ++c->column;
}

void OnRow(int, void* context) {
    auto* c = static_cast<Cursor*>(context);
    ++c->row;
    c->column = 1;
}

}  // namespace

bool ReadCsv(const std::filesystem::path& file, Workbook& book, std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxPartBytes) {
        error =
            ec ? vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "%1을(를) 열 수 없습니다"),
                               {file.string()})
               : vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "파일이 너무 큽니다"));
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    if (!IsValidUtf8(text)) {
        error = vt::Translate("workbook",
                              QT_TRANSLATE_NOOP("workbook", "파일이 UTF-8 텍스트가 아닙니다"));
        return false;
    }
    Sheet& sheet = book.AddSheet(file.stem().string());
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0) {
        error = vt::Translate("workbook",
                              QT_TRANSLATE_NOOP("workbook", "파일을 읽을 메모리가 부족합니다"));
        return false;
    }
    Cursor cursor{&sheet};
    const size_t used = csv_parse(&parser, text.data(), text.size(), OnField, OnRow, &cursor);
    bool ok = used == text.size() && csv_fini(&parser, OnField, OnRow, &cursor) == 0;
    if (!ok)
        error = vt::Translate(
            "workbook", QT_TRANSLATE_NOOP("workbook", "파일이 올바른 CSV가 아닙니다 (%1, %2행)"),
            {csv_strerror(csv_error(&parser)), std::to_string(cursor.row)});
    csv_free(&parser);
    if (ok && cursor.overflow) {
        error = vt::Translate(
            "workbook", QT_TRANSLATE_NOOP(
                            "workbook", "파일의 행이나 열이 시트가 담을 수 있는 것보다 많습니다"));
        ok = false;
    }
    return ok;
}

}  // namespace workbook
