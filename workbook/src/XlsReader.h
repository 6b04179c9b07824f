#pragma once
#include <filesystem>
#include <string>

namespace workbook {
class Workbook;
// Reads every worksheet of a binary (.xls) workbook through FreeXL.
bool ReadXls(const std::filesystem::path& file, Workbook& book, std::string& error);
}  // namespace workbook
