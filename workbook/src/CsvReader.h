#pragma once
#include <filesystem>
#include <string>

namespace workbook {
class Workbook;
// Reads a UTF-8 file of comma-separated values (RFC 4180 quoting, an
// optional byte-order mark) as one sheet named after the file.
bool ReadCsv(const std::filesystem::path& file, Workbook& book, std::string& error);
}  // namespace workbook
