// Damaged files: errors instead of empty records, the integrity check, and
// saving what can still be read.

#include <gtest/gtest.h>

#include "TestTables.h"
#include "storage/DatabaseRecovery.h"
#include "storage/RecordSet.h"
#include "testsupport/DatabaseFixture.h"
#include "testsupport/TestEnvironment.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using test::PeopleTable;
using vt::test::PageDamage;
using vt::test::QueryText;

constexpr int kPeople = 2000;

class DatabaseRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = test::MakeDatabase(env_.Root());
        QueryText(file_,
                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                      std::to_string(kPeople) +
                      ") INSERT INTO People (Name, Phone, Age) SELECT 'person ' || i || ' ' "
                      "|| hex(zeroblob(30)), '02' || i, i % 100 FROM n");
        ASSERT_EQ(QueryText(file_, "SELECT count(*) FROM People"), std::to_string(kPeople));
    }

    // Reads every record's name through a record set: the first error, or
    // ok when all were read (an empty name counts as a wrong read).
    Status ReadAll() {
        RecordSet rs(PeopleTable());
        Status s = rs.Open(file_);
        for (long i = 0; s.ok() && i < rs.GetRecordCount(); ++i) {
            s = rs.SetAbsolutePosition(i);
            Result<Value> name = s.ok() ? rs.GetField("Name") : Result<Value>(s);
            if (!name.ok())
                return name.status();
            if (name.value().AsText().rfind("person ", 0) != 0)
                return Status(ErrorCode::None, "a wrong record was read as good");
        }
        return s;
    }

    vt::test::TestEnvironment env_;
    fs::path file_;
};

TEST_F(DatabaseRecoveryTest, GarbageRecordsOfAPageAreAnErrorNeverEmptyRecords) {
    ASSERT_TRUE(ReadAll().ok());
    ASSERT_TRUE(vt::test::DamageTablePage(file_, "People", 5, PageDamage::Cells));
    Status s = ReadAll();
    EXPECT_EQ(s.code(), ErrorCode::Damaged) << s.ToString();
}

TEST_F(DatabaseRecoveryTest, GarbagePageIsAnErrorNeverEmptyRecords) {
    ASSERT_TRUE(vt::test::DamageTablePage(file_, "People", 5, PageDamage::Whole));
    Status s = ReadAll();
    EXPECT_EQ(s.code(), ErrorCode::Damaged) << s.ToString();
}

TEST_F(DatabaseRecoveryTest, RecordDeletedElsewhereIsNoRecordNotDamage) {
    RecordSet rs(PeopleTable());
    ASSERT_TRUE(rs.Open(file_).ok());
    ASSERT_TRUE(rs.SetAbsolutePosition(10).ok());
    QueryText(file_, "DELETE FROM People WHERE ID = 11");
    EXPECT_EQ(rs.GetField("Name").status().code(), ErrorCode::NoCurrentRecord);
}

TEST_F(DatabaseRecoveryTest, CheckTellsIntactFromDamagedAndNeverWrites) {
    auto good = CheckDatabaseFile(file_, {PeopleTable()});
    ASSERT_TRUE(good.ok()) << good.status().ToString();
    EXPECT_TRUE(good.value().intact);
    EXPECT_TRUE(good.value().problems.empty());
    EXPECT_TRUE(good.value().unusable.empty());
    TableSchema more = PeopleTable();
    more.columns.push_back({"Extra", ColumnType::Text});
    EXPECT_EQ(CheckDatabaseFile(file_, {more}).value().missing, "column People.Extra");

    ASSERT_TRUE(vt::test::DamageTablePage(file_, "People", 5, PageDamage::Whole));
    const std::string before = vt::test::ReadText(file_);
    auto bad = CheckDatabaseFile(file_, {PeopleTable()});
    ASSERT_TRUE(bad.ok()) << bad.status().ToString();
    EXPECT_FALSE(bad.value().intact);
    EXPECT_FALSE(bad.value().problems.empty());
    EXPECT_EQ(vt::test::ReadText(file_), before);
    EXPECT_FALSE(CheckDatabaseFile(env_.Root() / "none.db", {PeopleTable()}).ok());
}

TEST_F(DatabaseRecoveryTest, RecoverySavesEveryReadableRecordIntoANewFile) {
    ASSERT_TRUE(vt::test::DamageTablePage(file_, "People", 5, PageDamage::Whole));
    const std::string before = vt::test::ReadText(file_);
    const fs::path dest = env_.Root() / "saved.db";
    auto r = RecoverDatabaseFile(file_, dest, {PeopleTable()});
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    ASSERT_EQ(r.value().size(), 1u);
    const TableRecovery& t = r.value()[0];
    EXPECT_FALSE(t.missing);
    // One page of records is gone; every other record is saved.
    EXPECT_GT(t.lost, 0);
    EXPECT_LT(t.lost, 100);
    EXPECT_EQ(t.copied + t.lost, kPeople);
    EXPECT_EQ(vt::test::ReadText(file_), before);
    EXPECT_EQ(fs::status(dest).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(QueryText(dest, "PRAGMA integrity_check"), "ok");
    // Record numbers are kept, and the saved file is the program's.
    EXPECT_EQ(QueryText(dest, "SELECT Name FROM People WHERE ID = 1"),
              QueryText(file_, "SELECT Name FROM People WHERE ID = 1"));
    RecordSet rs(PeopleTable());
    ASSERT_TRUE(rs.Open(dest).ok());
    EXPECT_EQ(rs.GetRecordCount(), t.copied);

    // Never over an existing file.
    const std::string saved = vt::test::ReadText(dest);
    EXPECT_EQ(RecoverDatabaseFile(file_, dest, {PeopleTable()}).status().code(),
              ErrorCode::InvalidArgument);
    EXPECT_EQ(vt::test::ReadText(dest), saved);
}

TEST_F(DatabaseRecoveryTest, StoppedRecoveryLeavesNoFileBehind) {
    std::atomic<bool> stop{true};
    const fs::path dest = env_.Root() / "saved.db";
    EXPECT_FALSE(RecoverDatabaseFile(file_, dest, {PeopleTable()}, &stop).ok());
    EXPECT_FALSE(fs::exists(dest));
    EXPECT_FALSE(CheckDatabaseFile(file_, {PeopleTable()}, &stop).ok());
}

}  // namespace
}  // namespace storage
