// Damaged and foreign files: every one gives an error text or a workbook,
// never a crash, a hang or an unbounded read.
#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <random>

#include "testsupport/TestEnvironment.h"
#include "workbook/Workbook.h"

namespace {

using workbook::Workbook;

std::string Fixture(const char* name) {
    return vt::test::ReadText(std::filesystem::path(WORKBOOK_FIXTURES) / name);
}

// Opens the bytes as a file of that name; returns whether a workbook came out.
bool OpenBytes(const std::filesystem::path& file, const std::string& bytes,
               std::string* errorOut = nullptr) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    std::string error;
    auto book = Workbook::Open(file, error);
    if (!book) {
        EXPECT_FALSE(error.empty()) << "a failure without a reason for " << file;
    }
    if (errorOut)
        *errorOut = error;
    return book != nullptr;
}

// A zipped package of the given parts.
std::string MakeZip(const std::filesystem::path& file,
                    const std::vector<std::pair<std::string, std::string>>& parts) {
    int code = 0;
    zip_t* z = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    EXPECT_NE(z, nullptr);
    for (const auto& [name, data] : parts) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE);
    }
    EXPECT_EQ(zip_close(z), 0);
    return vt::test::ReadText(file);
}

const char kRels[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
const char kBook[] =
    "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";

TEST(GarbageInputTest, ForeignFilesAreRefusedWithAReason) {
    vt::test::TestEnvironment env;
    std::string error;
    EXPECT_FALSE(OpenBytes(env.Root() / "notes.txt", "just some text\n", &error));
    EXPECT_EQ(error, "notes.txt은(는) 통합 문서(.xlsx, .xls, .csv)가 아닙니다");
    EXPECT_FALSE(OpenBytes(env.Root() / "empty.xlsx", "", &error));
    EXPECT_FALSE(Workbook::Open(env.Root() / "missing.xlsx", error));
    EXPECT_FALSE(error.empty());
    // A zip file that is no workbook.
    const auto zipped = MakeZip(env.Root() / "a.zip", {{"hello.txt", "hi"}});
    EXPECT_FALSE(OpenBytes(env.Root() / "a.xlsx", zipped, &error));
    EXPECT_EQ(error, "a.xlsx은(는) zip 파일이지만 Excel 통합 문서가 아닙니다");
}

TEST(GarbageInputTest, BrokenPartsOfAZippedWorkbookAreErrors) {
    vt::test::TestEnvironment env;
    std::string error;
    const auto sheetWith = [](const std::string& cells) {
        return "<worksheet><sheetData><row r=\"1\">" + cells + "</row></sheetData></worksheet>";
    };
    // A shared string that is not there.
    auto bytes =
        MakeZip(env.Root() / "z1.zip",
                {{"xl/workbook.xml", kBook},
                 {"xl/_rels/workbook.xml.rels", kRels},
                 {"xl/worksheets/sheet1.xml", sheetWith("<c r=\"A1\" t=\"s\"><v>7</v></c>")}});
    EXPECT_FALSE(OpenBytes(env.Root() / "z1.xlsx", bytes, &error));
    EXPECT_EQ(error, "통합 문서가 손상되었습니다 (공유 문자열이 없습니다)");
    // Unclosed XML.
    bytes =
        MakeZip(env.Root() / "z2.zip", {{"xl/workbook.xml", kBook},
                                        {"xl/_rels/workbook.xml.rels", kRels},
                                        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>"}});
    EXPECT_FALSE(OpenBytes(env.Root() / "z2.xlsx", bytes, &error));
    // A cell far beyond the sheet's last column, a missing sheet part.
    bytes = MakeZip(env.Root() / "z3.zip",
                    {{"xl/workbook.xml", kBook},
                     {"xl/_rels/workbook.xml.rels", kRels},
                     {"xl/worksheets/sheet1.xml", sheetWith("<c r=\"ZZZZ1\"><v>1</v></c>")}});
    EXPECT_FALSE(OpenBytes(env.Root() / "z3.xlsx", bytes, &error));
    bytes = MakeZip(env.Root() / "z4.zip",
                    {{"xl/workbook.xml", kBook}, {"xl/_rels/workbook.xml.rels", kRels}});
    EXPECT_FALSE(OpenBytes(env.Root() / "z4.xlsx", bytes, &error));
    // Well formed: inline strings, booleans, escapes and cells without a reference.
    bytes = MakeZip(env.Root() / "z5.zip",
                    {{"xl/workbook.xml", kBook},
                     {"xl/_rels/workbook.xml.rels", kRels},
                     {"xl/worksheets/sheet1.xml",
                      sheetWith("<c t=\"inlineStr\"><is><t>a_x0041_</t></is></c>"
                                "<c t=\"b\"><v>0</v></c><c><v>1.0000000000000001E-3</v></c>")}});
    std::ofstream(env.Root() / "z5.xlsx", std::ios::binary) << bytes;
    auto book = Workbook::Open(env.Root() / "z5.xlsx", error);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(book->GetSheet(0)->Text(1, 1), "aA");
    EXPECT_EQ(book->GetSheet(0)->Text(1, 2), "FALSE");
    EXPECT_EQ(book->GetSheet(0)->Text(1, 3), "0.001");
}

// A file that makes the .xls library write outside its buffer: read in a
// child process, it gives a workbook or a damaged one, and this process goes
// on either way, with a reason when it is refused.
TEST(GarbageInputTest, AFileThatBreaksTheXlsLibraryLeavesTheProgramRunning) {
    std::string error;
    auto book =
        Workbook::Open(std::filesystem::path(WORKBOOK_FIXTURES) / "crafted-charset.xls", error);
    if (!book) {
        EXPECT_FALSE(error.empty());
    }
    // The good workbooks still read afterwards.
    EXPECT_TRUE(Workbook::Open(std::filesystem::path(WORKBOOK_FIXTURES) / "contacts.xls", error));
}

// Random bytes, truncations and byte flips of real workbooks.
TEST(GarbageInputTest, MangledWorkbooksNeverCrash) {
    vt::test::TestEnvironment env;
    std::mt19937 rng(20240613);
    int opened = 0, refused = 0;
    for (const char* name : {"contacts.xlsx", "contacts.xls"}) {
        const std::string good = Fixture(name);
        ASSERT_FALSE(good.empty());
        const auto file = env.Root() / name;
        for (size_t cut = 0; cut < good.size(); cut += 97)
            (OpenBytes(file, good.substr(0, cut)) ? opened : refused)++;
        for (int round = 0; round < 300; ++round) {
            std::string bytes = good;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
            (OpenBytes(file, bytes) ? opened : refused)++;
        }
        for (int round = 0; round < 50; ++round) {
            std::string bytes = good.substr(0, 8);  // the real signature, then noise
            bytes.resize(8 + rng() % 8192);
            for (size_t i = 8; i < bytes.size(); ++i) bytes[i] = static_cast<char>(rng());
            (OpenBytes(file, bytes) ? opened : refused)++;
        }
    }
    EXPECT_GT(refused, 0);
    std::cout << opened << " mangled files still read, " << refused << " refused\n";
}

}  // namespace
