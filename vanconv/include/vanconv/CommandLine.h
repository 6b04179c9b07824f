#pragma once
// The converter's command line, for scripts:
//   vanconv                                   the window
//   vanconv --export FILE.xlsx|FILE.vcf|FILE.csv
//   vanconv --import FILE [--sheet N] [--rows FIRST-LAST]
//           [--map Name=C,Group=C,...|auto] [--replace]
//   vanconv --help
// C is a 1-based column number; "auto", also taken without --map, maps each
// field to the column whose row-1 text is the field's name (as an export or
// a vCard file has it). Without --rows the rows are those the window
// offers: 2 to the sheet's last row.

#include <array>
#include <string>
#include <vector>

#include "vanconv/ConvertFields.h"

namespace vanconv {

struct CommandLine {
    enum class Mode { Window, Export, Import, Help, Error };
    Mode mode = Mode::Window;
    std::string file;
    int sheet = 1;           // 1-based
    bool rowsGiven = false;  // --rows
    long long firstRow = 0;
    long long lastRow = 0;
    bool autoMap = false;                    // --map auto, or no --map
    std::array<int, kFieldCount> columns{};  // 0: not mapped
    bool replace = false;
    std::string error;

    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();  // in the loaded language
};

}  // namespace vanconv
