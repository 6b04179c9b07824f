#pragma once
#include <filesystem>
#include <string>

namespace workbook {
class Workbook;
// Reads every worksheet of a zipped (.xlsx) workbook; false with `error`.
bool ReadXlsx(const std::filesystem::path& file, Workbook& book, std::string& error);
}  // namespace workbook
