// Reading workbooks written by other producers (see fixtures/README.md).
#include <gtest/gtest.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "workbook/Workbook.h"

namespace {

using workbook::Workbook;

std::unique_ptr<Workbook> OpenFixture(const std::string& name) {
    std::string error;
    auto book = Workbook::Open(std::filesystem::path(WORKBOOK_FIXTURES) / name, error);
    EXPECT_TRUE(book) << error;
    return book;
}

class FixtureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FixtureTest, SheetsInOrderWithTheirUsedRanges) {
    auto book = OpenFixture(GetParam());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->SheetNames(), (std::vector<std::string>{"주소록", "Header only", "Empty"}));

    const auto main = book->GetSheet(0)->Used();
    EXPECT_EQ(main.row, 1);
    EXPECT_EQ(main.column, 1);
    EXPECT_EQ(main.LastRow(), 5);
    EXPECT_EQ(main.LastColumn(), 6);

    const auto header = book->GetSheet(1)->Used();
    EXPECT_EQ(header.LastRow(), 1);
    EXPECT_EQ(header.LastColumn(), 2);

    // An empty sheet reports A1, as the spreadsheet application does.
    const auto empty = book->GetSheet(2)->Used();
    EXPECT_EQ(empty.row, 1);
    EXPECT_EQ(empty.column, 1);
    EXPECT_EQ(empty.rows, 1);
    EXPECT_EQ(empty.columns, 1);
    EXPECT_EQ(book->GetSheet(3), nullptr);
}

TEST_P(FixtureTest, CellsReadAsTheSpreadsheetShowsThem) {
    auto book = OpenFixture(GetParam());
    ASSERT_TRUE(book);
    const workbook::Sheet& s = *book->GetSheet(0);
    EXPECT_EQ(s.Text(1, 1), "이름");
    EXPECT_EQ(s.Text(1, 3), "");            // the empty header cell
    EXPECT_EQ(s.Text(2, 4), "0212345678");  // leading zero kept: stored as text
    EXPECT_EQ(s.Text(2, 5), "01012345678");
    EXPECT_EQ(s.Text(3, 4), "1234");  // whole numbers without ".0"
    EXPECT_EQ(s.Text(3, 5), "1.5");
    EXPECT_EQ(s.Text(5, 4), "42");
    EXPECT_EQ(s.Text(5, 5), "-7");
    EXPECT_EQ(s.Text(5, 6), "a,b \"quoted\"");
    EXPECT_EQ(s.Text(4, 1), "");
    EXPECT_EQ(s.Text(4, 4), "031-555-0101");

    std::string long300;
    for (int i = 0; i < 60; ++i) long300 += "가나다라마";
    EXPECT_EQ(s.Text(2, 6), long300);
    EXPECT_EQ(s.Text(3, 6).size(), 250u);
    // Outside the sheet: empty, never a failure.
    EXPECT_EQ(s.Text(0, 1), "");
    EXPECT_EQ(s.Text(1048577, 1), "");
    EXPECT_EQ(s.Text(99, 99), "");
}

INSTANTIATE_TEST_SUITE_P(Producers, FixtureTest,
                         ::testing::Values("contacts.xlsx", "contacts.xls"));

TEST(WorkbookTest, YesNoCellsOfTheZippedFormatReadAsTheSpreadsheetShowsThem) {
    auto book = OpenFixture("contacts.xlsx");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->GetSheet(0)->Text(5, 3), "TRUE");
}

TEST(WorkbookTest, CsvIsOneSheetNamedAfterTheFile) {
    vt::test::TestEnvironment env;
    const auto file = env.Root() / "list.csv";
    std::ofstream(file, std::ios::binary)
        << "\xEF\xBB\xBFName,Phone\r\n\"Kim, A\",0212\r\n\"say \"\"hi\"\"\",\"two\nlines\"\r\n";
    std::string error;
    auto book = Workbook::Open(file, error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->SheetNames(), std::vector<std::string>{"list"});
    const auto& s = *book->GetSheet(0);
    EXPECT_EQ(s.Text(1, 1), "Name");
    EXPECT_EQ(s.Text(2, 1), "Kim, A");
    EXPECT_EQ(s.Text(2, 2), "0212");
    EXPECT_EQ(s.Text(3, 1), "say \"hi\"");
    EXPECT_EQ(s.Text(3, 2), "two\nlines");
    EXPECT_EQ(s.Used().LastRow(), 3);
}

TEST(WorkbookTest, CsvThatIsNoUtf8OrBadlyQuotedIsRefused) {
    vt::test::TestEnvironment env;
    std::string error;
    const auto latin = env.Root() / "latin.csv";
    std::ofstream(latin, std::ios::binary) << "Name\r\n\xB1\xE8\r\n";  // code page 949 text
    EXPECT_FALSE(Workbook::Open(latin, error));
    EXPECT_NE(error.find("UTF-8"), std::string::npos) << error;

    const auto bad = env.Root() / "bad.csv";
    std::ofstream(bad, std::ios::binary) << "Name\r\n\"open quote\r\n";
    error.clear();
    EXPECT_FALSE(Workbook::Open(bad, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
