// The two transfers over a real database file: the value rules, the table
// clearing, one transaction per import, and round trips through every file
// kind the converter writes.
#include <gtest/gtest.h>

#include "VanconvFixture.h"
#include "vanconv/ColumnTitle.h"
#include "vanconv/ContactFile.h"
#include "vanconv/ContactTransfer.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vanconv {
namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

ImportPlan AllColumns(const workbook::Sheet& sheet, long long first, long long last) {
    ImportPlan plan;
    plan.sheet = &sheet;
    plan.startRow = first;
    plan.endRow = last;
    for (int f = 0; f < kFieldCount; ++f) plan.columns[f] = f + 1;
    return plan;
}

class ContactTransferTest : public ::testing::Test {
protected:
    std::filesystem::path Db() const { return env_.AppHome() / "VanteloDB1.db"; }
    vt::test::TestEnvironment env_;
};

TEST(ColumnTitleTest, LabelsOfColumnsWithoutAHeader) {
    EXPECT_EQ(TitleNumber(0), " - A -");
    EXPECT_EQ(TitleNumber(2), " - C -");
    EXPECT_EQ(TitleNumber(25), " - Z -");
    EXPECT_EQ(TitleNumber(26), " - AA -");  // column 27
    EXPECT_EQ(TitleNumber(51), " - AZ -");  // column 52
    EXPECT_EQ(TitleNumber(52), " - BA -");
}

TEST(FieldValueTest, CutsLongCellsToTwoHundredFiftyCharactersAndFillsTheGroup) {
    workbook::Sheet s;
    s.SetText(1, 1, Repeat("가", 300));
    s.SetText(1, 2, Repeat("나", 250));
    s.SetText(1, 3, Repeat("a", 251));
    s.SetText(1, 4, "0212");
    EXPECT_EQ(ContactTransfer::FieldValue(0, 1, s, 1), Repeat("가", 250));
    EXPECT_EQ(ContactTransfer::FieldValue(0, 2, s, 1), Repeat("나", 250));
    EXPECT_EQ(ContactTransfer::FieldValue(2, 3, s, 1), Repeat("a", 250));
    EXPECT_EQ(ContactTransfer::FieldValue(2, 4, s, 1), "0212");
    // No column, or an empty cell: empty, and for Group its default.
    EXPECT_EQ(ContactTransfer::FieldValue(2, 0, s, 1), "");
    EXPECT_EQ(ContactTransfer::FieldValue(2, 9, s, 1), "");
    EXPECT_EQ(ContactTransfer::FieldValue(1, 0, s, 1), "그룹지정 안함");
    EXPECT_EQ(ContactTransfer::FieldValue(1, 9, s, 1), "그룹지정 안함");
    EXPECT_EQ(ContactTransfer::FieldValue(1, 4, s, 1), "0212");
}

TEST_F(ContactTransferTest, ImportsTheFixtureWorkbooksByTheRules) {
    for (const char* name : {"contacts.xlsx", "contacts.xls"}) {
        std::string error;
        auto book = ContactFile::Open(std::filesystem::path(WORKBOOK_FIXTURES) / name, error);
        ASSERT_TRUE(book) << error;
        ImportPlan plan;
        plan.sheet = book->GetSheet(0);
        plan.startRow = 2;
        plan.endRow = 5;
        plan.columns[0] = 1;   // Name
        plan.columns[1] = 2;   // Group
        plan.columns[2] = 4;   // HomePhone
        plan.columns[4] = 5;   // CellPhone
        plan.columns[15] = 6;  // WebPage takes the long memo column
        plan.replace = true;
        const auto outcome = ContactTransfer::UpdateTYcallerDB(Db(), plan);
        ASSERT_EQ(outcome.kind, ImportOutcome::Kind::Done) << outcome.error;
        EXPECT_EQ(outcome.stored, 4);
        const auto all = test::AllContacts(Db());
        ASSERT_EQ(all.size(), 4u) << name;
        EXPECT_EQ(all[0][0], "홍길동");
        EXPECT_EQ(all[0][2], "0212345678");
        EXPECT_EQ(all[0][4], "01012345678");
        EXPECT_EQ(all[0][15], Repeat("가나다라마", 50));  // 300 characters cut to 250
        EXPECT_EQ(all[1][1], "그룹지정 안함");
        EXPECT_EQ(all[1][2], "1234");
        EXPECT_EQ(all[1][4], "1.5");
        EXPECT_EQ(all[1][15], Repeat("abcde", 50));  // 250 characters stay whole
        EXPECT_EQ(all[2][0], "");  // a row without a name is stored, as the rules say
        EXPECT_EQ(all[3][15], "a,b \"quoted\"");
        EXPECT_EQ(all[3][3], "");  // unmapped fields stay empty
    }
}

TEST_F(ContactTransferTest, NameWithoutAColumnAndBadRangesChangeNothing) {
    test::AddContacts(Db(), {test::SampleContact(1)});
    workbook::Sheet sheet;
    sheet.SetText(2, 1, "Kim");
    ImportPlan plan = AllColumns(sheet, 2, 2);
    plan.replace = true;
    plan.columns[0] = 0;
    EXPECT_EQ(ContactTransfer::UpdateTYcallerDB(Db(), plan).kind, ImportOutcome::Kind::NameMissing);
    plan.columns[0] = 1;
    plan.startRow = 5;
    plan.endRow = 4;
    EXPECT_EQ(ContactTransfer::UpdateTYcallerDB(Db(), plan).kind, ImportOutcome::Kind::BadRange);
    plan.startRow = 0;
    plan.endRow = 0;
    EXPECT_EQ(ContactTransfer::UpdateTYcallerDB(Db(), plan).kind, ImportOutcome::Kind::BadRange);
    EXPECT_EQ(test::AllContacts(Db()), std::vector<ContactFields>{test::SampleContact(1)});
}

TEST_F(ContactTransferTest, ImportedNumbersInAnyWritingNameTheirCallersAtOnce) {
    workbook::Sheet sheet;
    sheet.SetText(2, 1, "Park");
    sheet.SetText(2, 3, "+82 2-765-4321");  // HomePhone
    sheet.SetText(2, 5, "010.4444.5555");   // CellPhone
    ImportPlan plan = AllColumns(sheet, 2, 2);
    plan.replace = true;
    ASSERT_EQ(ContactTransfer::UpdateTYcallerDB(Db(), plan).kind, ImportOutcome::Kind::Done);
    // No restart of the phone in between: the book itself knows the forms.
    vantelo::CRSAddressList book;
    vantelo::CRSInnerLineList inner;
    ASSERT_TRUE(book.Open(Db()).ok());
    ASSERT_TRUE(inner.Open(Db()).ok());
    for (const char* number : {"027654321", "01044445555"})
        EXPECT_EQ(vantelo::LookupName(number, "", book, inner).value_or("?"), "Park") << number;
    EXPECT_EQ(vantelo::LookupName("0276543210", "", book, inner).value_or("?"), "");
}

TEST_F(ContactTransferTest, AnEngineErrorInTheMiddleLeavesTheTableAsItWas) {
    test::AddContacts(Db(), {test::SampleContact(1), test::SampleContact(2)});
    test::RefuseName(Db(), "boom");
    workbook::Sheet sheet;
    for (int r = 1; r <= 100; ++r) sheet.SetText(r, 1, r == 60 ? "boom" : "n" + std::to_string(r));
    for (bool replace : {false, true}) {
        ImportPlan plan = AllColumns(sheet, 1, 100);
        plan.replace = replace;
        const auto outcome = ContactTransfer::UpdateTYcallerDB(Db(), plan);
        EXPECT_EQ(outcome.kind, ImportOutcome::Kind::Failed);
        EXPECT_EQ(outcome.error.rfind("60행: ", 0), 0u) << outcome.error;
        EXPECT_EQ(outcome.stored, 0);
        EXPECT_EQ(test::AllContacts(Db()),
                  (std::vector<ContactFields>{test::SampleContact(1), test::SampleContact(2)}));
    }
}

TEST_F(ContactTransferTest, FortyThousandRowsImportAndClearTableEmptiesThemAll) {
    workbook::Sheet sheet;
    const int rows = 40000;  // beyond a 16-bit count
    for (int r = 1; r <= rows + 1; ++r) sheet.SetText(r, 1, "c" + std::to_string(r));
    ImportPlan plan = AllColumns(sheet, 2, rows + 1);
    auto outcome = ContactTransfer::UpdateTYcallerDB(Db(), plan);
    ASSERT_EQ(outcome.kind, ImportOutcome::Kind::Done) << outcome.error;
    EXPECT_EQ(outcome.stored, rows);
    auto all = test::AllContacts(Db());
    ASSERT_EQ(all.size(), static_cast<size_t>(rows));
    EXPECT_EQ(all.front()[0], "c2");
    EXPECT_EQ(all.back()[0], "c40001");

    // A new contact book: the 40,000 go, one row comes.
    plan = AllColumns(sheet, 1, 1);
    plan.replace = true;
    outcome = ContactTransfer::UpdateTYcallerDB(Db(), plan);
    ASSERT_EQ(outcome.kind, ImportOutcome::Kind::Done) << outcome.error;
    all = test::AllContacts(Db());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0][0], "c1");
}

TEST_F(ContactTransferTest, ClearTableOnSmallAndEmptyTables) {
    for (int n : {0, 1, 3}) {
        std::vector<ContactFields> rows;
        for (int i = 0; i < n; ++i) rows.push_back(test::SampleContact(i));
        if (n)
            test::AddContacts(Db(), rows);
        else
            ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance(), Db()).ok());
        storage::RecordSet table(vantelo::AddressListSchema());
        ASSERT_TRUE(table.Open(Db(), storage::RecordSetType::Table).ok());
        const auto s = ContactTransfer::ClearTable(table);
        EXPECT_TRUE(s.ok()) << s.message();
        table.Close();
        EXPECT_TRUE(test::AllContacts(Db()).empty()) << n;
    }
}

TEST_F(ContactTransferTest, ExportThenImportGivesTheSameSixteenFieldsForEveryKind) {
    std::vector<ContactFields> contacts;
    for (int i = 0; i < 25; ++i) contacts.push_back(test::SampleContact(i));
    contacts[3][8] = "";  // an empty first company address before a second one
    contacts[4][10] = "";
    contacts[4][11] = "0313334444";
    test::AddContacts(Db(), contacts);
    auto rows = ContactTransfer::SaveTYcallerAddress(Db());
    ASSERT_TRUE(rows.ok());
    ASSERT_EQ(rows.value().size(), 26u);
    EXPECT_EQ(rows.value()[0][0], "Name");
    EXPECT_EQ(rows.value()[0][15], "WebPage");

    for (const char* name : {"book.xlsx", "book.vcf", "book.csv"}) {
        const auto file = env_.Root() / name;
        std::string error;
        ASSERT_TRUE(ContactFile::Write(file, rows.value(), error)) << error;
        auto book = ContactFile::Open(file, error);
        ASSERT_TRUE(book) << name << ": " << error;
        const workbook::Sheet& sheet = *book->GetSheet(0);
        // Opened again, row 1 offers the field names as column labels.
        for (int f = 0; f < kFieldCount; ++f)
            EXPECT_EQ(sheet.Text(1, f + 1), kConvertFields[f].field) << name;
        ImportPlan plan = AllColumns(sheet, 2, sheet.Used().LastRow());
        plan.replace = true;
        const auto outcome = ContactTransfer::UpdateTYcallerDB(Db(), plan);
        ASSERT_EQ(outcome.kind, ImportOutcome::Kind::Done) << outcome.error;
        EXPECT_EQ(test::AllContacts(Db()), contacts) << name;
    }
}

TEST_F(ContactTransferTest, AnEmptyOrMissingContactBook) {
    EXPECT_FALSE(ContactTransfer::SaveTYcallerAddress(Db()).ok());
    ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance(), Db()).ok());
    auto rows = ContactTransfer::SaveTYcallerAddress(Db());
    ASSERT_TRUE(rows.ok());
    EXPECT_TRUE(rows.value().empty());
}

}  // namespace
}  // namespace vanconv
