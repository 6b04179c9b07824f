// Arbitrary bytes as a workbook file: the readers of .xlsx (zip + XML) and
// CSV must give a workbook or an error text, never crash, and every cell of
// the used range must be readable. Files with the .xls signature are left
// out: FreeXL reads in a child process, whose sanitizer reports about the
// library (it has known faults) would only bury this layer's own.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "workbook/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One private file for the whole run; its name ends in .csv so that
    // bytes without a workbook signature go to the CSV reader.
    static std::string path = [] {
        std::string p = "/tmp/workbook-fuzz-XXXXXX.csv";
        const int fd = ::mkstemps(p.data(), 4);
        if (fd < 0)
            std::abort();
        ::close(fd);
        return p;
    }();
    if (size >= 4 && data[0] == 0xD0 && data[1] == 0xCF && data[2] == 0x11 && data[3] == 0xE0)
        return 0;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::string error;
    auto book = workbook::Workbook::Open(path, error);
    if (!book) {
        if (error.empty())
            std::abort();
        return 0;
    }
    for (int s = 0; s < book->SheetCount(); ++s) {
        const workbook::Sheet* sheet = book->GetSheet(s);
        const auto used = sheet->Used();
        std::size_t total = 0;
        for (int r = used.row; r <= used.LastRow() && r < used.row + 200; ++r)
            for (int c = used.column; c <= used.LastColumn() && c < used.column + 50; ++c)
                total += sheet->Text(r, c).size();
        if (total > (std::size_t{1} << 40))
            std::abort();
    }
    return 0;
}
