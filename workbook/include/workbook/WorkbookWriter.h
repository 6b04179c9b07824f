#pragma once
// Writes a table of texts as a new file: a workbook (.xlsx) with one sheet
// whose every cell has the text format "@" and whose row 1 is bold, or a
// UTF-8 CSV file (RFC 4180 quoting, CRLF line ends). The file is written
// beside the target under a private name and then renamed over it, so an
// existing file is replaced whole or not at all. New files are 0600.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace workbook {

using Table = std::vector<std::vector<std::string>>;  // rows of cells; row 0 first
// Hands over the next row, first to last: fills `row` and returns true, or
// returns false after the last one. For tables too large to hold at once.
using RowSource = std::function<bool(std::vector<std::string>& row)>;

class WorkbookWriter {
public:
    static bool WriteXlsx(const std::filesystem::path& file, const std::string& sheetName,
                          const Table& rows, std::string& error);
    static bool WriteCsv(const std::filesystem::path& file, const Table& rows, std::string& error);
    static bool WriteCsv(const std::filesystem::path& file, const RowSource& rows,
                         std::string& error);

    // Any file's bytes, replacing the file the same way.
    static bool WriteText(const std::filesystem::path& file, const std::string& bytes,
                          std::string& error);

    // One CSV field, quoted when it holds a comma, a quote or a line end.
    static std::string CsvField(const std::string& text);

private:
    template <typename WriteTo>
    static bool Replace(const std::filesystem::path& file, std::string& error, WriteTo write);
    // Replace, with `write` putting the bytes into a stream.
    template <typename WriteTo>
    static bool ReplaceStream(const std::filesystem::path& file, std::string& error, WriteTo write);
};

}  // namespace workbook
