#include "XlsReader.h"

#include <freexl.h>

#include <memory>

#include "NumberText.h"
#include "workbook/Workbook.h"

namespace workbook {

namespace {

struct FreeXlClose {
    void operator()(const void* handle) const { freexl_close(handle); }
};

std::string Reason(int code) {
    switch (code) {
        case FREEXL_INSUFFICIENT_MEMORY:
            return "not enough memory to read the workbook";
        case FREEXL_FILE_NOT_FOUND:
            return "the workbook cannot be opened";
        case FREEXL_UNSUPPORTED_CHARSET:
        case FREEXL_INVALID_CHARACTER:
            return "the workbook's text encoding cannot be read";
        default:
            return "the workbook is damaged or not an Excel workbook";
    }
}

}  // namespace

bool ReadXls(const std::filesystem::path& file, Workbook& book, std::string& error) {
    const void* raw = nullptr;
    int rc = freexl_open(file.c_str(), &raw);
    std::unique_ptr<const void, FreeXlClose> handle(raw);
    if (rc != FREEXL_OK || !raw) {
        error = Reason(rc);
        return false;
    }
    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        error = "the workbook is protected by a password";
        return false;
    }
    unsigned int count = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
        error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
        return false;
    }
    for (unsigned int i = 0; i < count; ++i) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(i), &name) != FREEXL_OK ||
            freexl_select_active_worksheet(raw, static_cast<unsigned short>(i)) != FREEXL_OK ||
            freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK) {
            error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
            return false;
        }
        Sheet& sheet = book.AddSheet(name ? name : "");
        if (rows > static_cast<unsigned>(Sheet::kMaxRows) ||
            columns > static_cast<unsigned>(Sheet::kMaxColumns)) {
            error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
            return false;
        }
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(raw, r, c, &v) != FREEXL_OK)
                    continue;
                std::string text;
                switch (v.type) {
                    case FREEXL_CELL_INT:
                        text = std::to_string(v.value.int_value);
                        break;
                    case FREEXL_CELL_DOUBLE:
                        text = NumberText(v.value.double_value);
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        if (v.value.text_value)
                            text = v.value.text_value;
                        break;
                    default:
                        break;
                }
                sheet.SetText(static_cast<int>(r) + 1, c + 1, std::move(text));
            }
        }
    }
    return true;
}

}  // namespace workbook
