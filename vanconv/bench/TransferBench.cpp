// Timings of the converter's two transfers on files this program makes:
// an import of N worksheet rows (open the .xlsx, read it, store every row
// in one transaction) and an export of N contacts (read the table, write a
// new .xlsx), both through the code the window and the command line use.
//
//   vanconv_bench [--rows N] [--runs N] [--folder DIR]
//
// Each figure is the median of --runs runs, in a private temporary folder
// unless --folder names one.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "vanconv/ContactFile.h"
#include "vanconv/ContactTransfer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "vanconv_bench: %s\n", what.c_str());
    std::exit(1);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

workbook::Table Sheet(int rows) {
    workbook::Table t;
    std::vector<std::string> header;
    for (const auto& f : vanconv::kConvertFields) header.push_back(f.field);
    t.push_back(header);
    for (int r = 0; r < rows; ++r) {
        const std::string n = std::to_string(r);
        t.push_back({"홍길동" + n, "그룹" + std::to_string(r % 20), "02-555-" + n,
                     "서울시 중구 세종대로 " + n, "010-1234-" + n, "반텔로 주식회사", "개발부",
                     "과장", "경기도 성남시 판교로 " + n, "별관 3층", "031-777-" + n,
                     "031-778-" + n, n, "02-555-9999", "user" + n + "@example.kr",
                     "https://example.kr/" + n});
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    int rows = 10000, runs = 5;
    fs::path folder;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--rows")
            rows = std::atoi(argv[i + 1]);
        else if (a == "--runs")
            runs = std::atoi(argv[i + 1]);
        else if (a == "--folder")
            folder = argv[i + 1];
        else
            Die("usage: vanconv_bench [--rows N] [--runs N] [--folder DIR]");
    }
    bool own = folder.empty();
    if (own) {
        std::string t = (fs::temp_directory_path() / "vanconv-bench.XXXXXX").string();
        if (!::mkdtemp(t.data()))
            Die("cannot make a temporary folder");
        folder = t;
    }
    const fs::path source = folder / "source.xlsx";
    const fs::path database = folder / "VanteloDB1.db";
    const fs::path exported = folder / "export.xlsx";
    std::string error;
    if (!vanconv::ContactFile::Write(source, Sheet(rows), error))
        Die(error);

    std::vector<double> imports, exports;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        auto book = vanconv::ContactFile::Open(source, error);
        if (!book)
            Die(error);
        vanconv::ImportPlan plan;
        plan.sheet = book->GetSheet(0);
        plan.startRow = 2;
        plan.endRow = rows + 1;
        plan.replace = true;
        for (int f = 0; f < vanconv::kFieldCount; ++f) plan.columns[f] = f + 1;
        const auto outcome = vanconv::ContactTransfer::UpdateTYcallerDB(database, plan);
        if (outcome.kind != vanconv::ImportOutcome::Kind::Done)
            Die("import: " + outcome.error);
        imports.push_back(std::chrono::duration<double>(Clock::now() - t0).count());

        t0 = Clock::now();
        auto table = vanconv::ContactTransfer::SaveTYcallerAddress(database);
        if (!table.ok() || table.value().size() != static_cast<size_t>(rows) + 1)
            Die("export: the table does not hold the rows");
        if (!vanconv::ContactFile::Write(exported, table.value(), error))
            Die(error);
        exports.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    std::printf("import of %d rows (.xlsx, replacing the book): median %.3f s of %d runs\n", rows,
                Median(imports), runs);
    std::printf("export of %d contacts (.xlsx):                 median %.3f s of %d runs\n", rows,
                Median(exports), runs);
    if (own)
        fs::remove_all(folder);
    return 0;
}
