#pragma once
// The files the converter reads and writes, told apart by their extension:
// workbooks (.xlsx, .xls), vCards (.vcf) and CSV (.csv).

#include <filesystem>
#include <memory>
#include <string>

#include "workbook/Workbook.h"
#include "workbook/WorkbookWriter.h"

namespace vanconv {

class ContactFile {
public:
    enum class Kind { Unknown, Xlsx, Xls, VCard, Csv };

    static Kind KindOf(const std::filesystem::path& file);
    // True for the kinds a contact book is written to (.xlsx, .vcf, .csv).
    static bool Writable(const std::filesystem::path& file);

    // A file to import from, as a workbook (a vCard file: one sheet whose
    // row 1 holds the field names). nullptr with `error`.
    static std::unique_ptr<workbook::Workbook> Open(const std::filesystem::path& file,
                                                    std::string& error);
    // The rows of SaveTYcallerAddress into a new file of the name's kind.
    static bool Write(const std::filesystem::path& file, const workbook::Table& rows,
                      std::string& error);

    // The file dialogs' choices, the first one selected.
    static const char* const kOpenFilters[3];
    static const char* const kSaveFilters[3];
};

}  // namespace vanconv
