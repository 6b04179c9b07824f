#pragma once
// A workbook opened read-only: its worksheets in order, each read whole.
// The file's content decides how it is read: the newer zipped format
// (.xlsx), the older binary format (.xls, read by FreeXL), or, for a file
// named .csv, UTF-8 text with comma-separated values (one sheet).
//
// A damaged, encrypted or foreign file gives an error text and no workbook;
// no input makes the reader crash or read without bound.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "workbook/Sheet.h"

namespace workbook {

class Workbook {
public:
    // nullptr with `error` set when the file cannot be read as a workbook.
    static std::unique_ptr<Workbook> Open(const std::filesystem::path& file, std::string& error);

    // The worksheets' names in the workbook's order.
    std::vector<std::string> SheetNames() const;
    int SheetCount() const { return static_cast<int>(sheets_.size()); }
    // 0-based; nullptr outside.
    const Sheet* GetSheet(int index) const;

    // For the readers.
    Sheet& AddSheet(std::string name);

private:
    std::vector<std::unique_ptr<Sheet>> sheets_;
};

// The largest part of a zipped workbook that is unpacked (a guard against
// files that unpack to far more than they hold).
inline constexpr std::uint64_t kMaxPartBytes = 512ull << 20;

}  // namespace workbook
