#include "workbook/WorkbookWriter.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/Translate.h"

namespace workbook {

namespace {

// The most characters a cell of the format holds.
constexpr size_t kMaxCellBytes = 32767;

}  // namespace

template <typename WriteTo>
bool WorkbookWriter::Replace(const std::filesystem::path& file, std::string& error, WriteTo write) {
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::string temp = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = vt::Translate("workbook", QT_TRANSLATE_NOOP("workbook", "%1에 쓸 수 없습니다: %2"),
                              {folder.string(), std::strerror(errno)});
        return false;
    }
    ::close(fd);
    if (!write(temp, error)) {
        ::unlink(temp.c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        ::unlink(temp.c_str());
        error = vt::Translate("workbook",
                              QT_TRANSLATE_NOOP("workbook", "%1을(를) 바꿀 수 없습니다: %2"),
                              {file.string(), ec.message()});
        return false;
    }
    return true;
}

bool WorkbookWriter::WriteXlsx(const std::filesystem::path& file, const std::string& sheetName,
                               const Table& rows, std::string& error) {
    return Replace(file, error, [&](const std::string& temp, std::string& err) {
        lxw_workbook* wb = workbook_new(temp.c_str());
        if (!wb) {
            err = "cannot create the workbook";
            return false;
        }
        lxw_worksheet* ws =
            workbook_add_worksheet(wb, sheetName.empty() ? nullptr : sheetName.c_str());
        lxw_format* text = workbook_add_format(wb);
        format_set_num_format(text, "@");
        lxw_format* bold = workbook_add_format(wb);
        format_set_num_format(bold, "@");
        format_set_bold(bold);
        bool ok = ws != nullptr;
        // Every cell of the sheet reads as text, so "0212" stays "0212".
        if (ok)
            ok = worksheet_set_column(ws, 0, 255, LXW_DEF_COL_WIDTH, text) == LXW_NO_ERROR &&
                 worksheet_set_row(ws, 0, LXW_DEF_ROW_HEIGHT, bold) == LXW_NO_ERROR;
        for (size_t r = 0; ok && r < rows.size(); ++r) {
            for (size_t c = 0; ok && c < rows[r].size(); ++c) {
                const std::string& cell = rows[r][c];
                if (cell.empty())
                    continue;
                if (cell.size() > kMaxCellBytes || r >= LXW_ROW_MAX || c >= LXW_COL_MAX) {
                    err = "a value is too long or too far out for a workbook cell";
                    ok = false;
                    break;
                }
                ok =
                    worksheet_write_string(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                           cell.c_str(), r == 0 ? bold : text) == LXW_NO_ERROR;
            }
        }
        const lxw_error closed = workbook_close(wb);
        if (ok && closed != LXW_NO_ERROR) {
            err = std::string("cannot write the workbook: ") + lxw_strerror(closed);
            ok = false;
        } else if (!ok && err.empty()) {
            err = "cannot write the workbook";
        }
        return ok;
    });
}

std::string WorkbookWriter::CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

template <typename WriteTo>
bool WorkbookWriter::ReplaceStream(const std::filesystem::path& file, std::string& error,
                                   WriteTo write) {
    return Replace(file, error, [&](const std::string& temp, std::string& err) {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        write(out);
        out.close();
        if (!out) {
            err = "cannot write " + file.string();
            return false;
        }
        return true;
    });
}

bool WorkbookWriter::WriteText(const std::filesystem::path& file, const std::string& bytes,
                               std::string& error) {
    return ReplaceStream(file, error, [&](std::ofstream& out) { out << bytes; });
}

bool WorkbookWriter::WriteCsv(const std::filesystem::path& file, const Table& rows,
                              std::string& error) {
    size_t next = 0;
    return WriteCsv(
        file,
        [&](std::vector<std::string>& row) {
            if (next == rows.size())
                return false;
            row = rows[next++];
            return true;
        },
        error);
}

bool WorkbookWriter::WriteCsv(const std::filesystem::path& file, const RowSource& rows,
                              std::string& error) {
    return ReplaceStream(file, error, [&](std::ofstream& out) {
        std::vector<std::string> row;
        std::string line;
        while (out && rows(row)) {
            line.clear();
            for (size_t c = 0; c < row.size(); ++c) {
                if (c)
                    line += ',';
                line += CsvField(row[c]);
            }
            line += "\r\n";
            out << line;
        }
    });
}

}  // namespace workbook
