// Writing workbooks and CSV files, read back through the readers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookWriter.h"

namespace {

using workbook::Workbook;
using workbook::WorkbookWriter;

const workbook::Table kRows = {
    {"Name", "Group", "HomePhone"},
    {"홍길동", "", "0212345678"},
    {"Kim, \"A\"", "친구", "010\n1234"},
};

unsigned Mode(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(WorkbookWriterTest, XlsxKeepsEveryTextWithRowOneBoldAndAllCellsText) {
    vt::test::TestEnvironment env;
    const auto file = env.Root() / "out.xlsx";
    std::string error;
    ASSERT_TRUE(WorkbookWriter::WriteXlsx(file, "Sheet1", kRows, error)) << error;
    EXPECT_EQ(Mode(file), 0600u);

    auto book = Workbook::Open(file, error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->SheetNames(), std::vector<std::string>{"Sheet1"});
    const auto& s = *book->GetSheet(0);
    for (size_t r = 0; r < kRows.size(); ++r)
        for (size_t c = 0; c < kRows[r].size(); ++c)
            EXPECT_EQ(s.Text(int(r) + 1, int(c) + 1), kRows[r][c]) << r << "," << c;
    EXPECT_TRUE(s.Style(1, 1).bold);
    EXPECT_TRUE(s.Style(1, 3).text);
    EXPECT_FALSE(s.Style(2, 1).bold);
    EXPECT_TRUE(s.Style(2, 3).text);
    EXPECT_EQ(s.Used().LastRow(), 3);
    EXPECT_EQ(s.Used().LastColumn(), 3);
}

TEST(WorkbookWriterTest, AnExistingFileIsReplacedWholeOrLeftAsItWas) {
    vt::test::TestEnvironment env;
    const auto file = env.Root() / "out.xlsx";
    std::ofstream(file) << "old content";
    std::string error;
    ASSERT_TRUE(WorkbookWriter::WriteXlsx(file, "Sheet1", kRows, error)) << error;
    ASSERT_TRUE(Workbook::Open(file, error)) << error;

    // A cell the format cannot hold fails the write; the file stays whole.
    const auto before = vt::test::ReadText(file);
    workbook::Table tooLong = {{"Name"}, {std::string(40000, 'x')}};
    EXPECT_FALSE(WorkbookWriter::WriteXlsx(file, "Sheet1", tooLong, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(vt::test::ReadText(file), before);
    for (const auto& e : std::filesystem::directory_iterator(env.Root()))
        EXPECT_NE(e.path().filename().string()[0], '.') << "temporary file left: " << e.path();
}

TEST(WorkbookWriterTest, UnwritableFolderIsAnError) {
    std::string error;
    EXPECT_FALSE(WorkbookWriter::WriteXlsx("/proc/no/such/out.xlsx", "S", kRows, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(WorkbookWriter::WriteCsv("/proc/no/such/out.csv", kRows, error));
    EXPECT_FALSE(error.empty());
}

TEST(WorkbookWriterTest, CsvQuotesOnlyWhatNeedsItAndReadsBack) {
    EXPECT_EQ(WorkbookWriter::CsvField("plain"), "plain");
    EXPECT_EQ(WorkbookWriter::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(WorkbookWriter::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(WorkbookWriter::CsvField("two\r\nlines"), "\"two\r\nlines\"");

    vt::test::TestEnvironment env;
    const auto file = env.Root() / "out.csv";
    std::string error;
    ASSERT_TRUE(WorkbookWriter::WriteCsv(file, kRows, error)) << error;
    EXPECT_EQ(Mode(file), 0600u);
    EXPECT_EQ(vt::test::ReadText(file).rfind("Name,Group,HomePhone\r\n홍길동,,0212345678\r\n", 0),
              0u);
    auto book = Workbook::Open(file, error);
    ASSERT_TRUE(book) << error;
    const auto& s = *book->GetSheet(0);
    for (size_t r = 0; r < kRows.size(); ++r)
        for (size_t c = 0; c < kRows[r].size(); ++c)
            EXPECT_EQ(s.Text(int(r) + 1, int(c) + 1), kRows[r][c]) << r << "," << c;
}

TEST(WorkbookWriterTest, CsvRowsHandedOverOneAtATimeWriteWhatTheirTableWrites) {
    auto rowAt = [](int i) -> std::vector<std::string> {
        return {std::to_string(i), i % 2 ? "a,b" : "홍길동", "say \"hi\"\r\n"};
    };
    constexpr int kCount = 1000;
    workbook::Table table;
    for (int i = 0; i < kCount; ++i) table.push_back(rowAt(i));
    vt::test::TestEnvironment env;
    const auto whole = env.Root() / "whole.csv";
    const auto streamed = env.Root() / "streamed.csv";
    std::ofstream(streamed) << "old content";
    std::string error;
    ASSERT_TRUE(WorkbookWriter::WriteCsv(whole, table, error)) << error;
    int handed = 0;
    const workbook::RowSource source = [&](std::vector<std::string>& row) {
        if (handed == kCount)
            return false;
        row = rowAt(handed++);
        return true;
    };
    ASSERT_TRUE(WorkbookWriter::WriteCsv(streamed, source, error)) << error;
    EXPECT_EQ(vt::test::ReadText(streamed), vt::test::ReadText(whole));
    EXPECT_EQ(Mode(streamed), 0600u);
}

}  // namespace
