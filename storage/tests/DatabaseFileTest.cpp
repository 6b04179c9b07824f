// Preparing the database file: creation, keeping good files, moving bad ones aside.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "TestTables.h"
#include "storage/DatabaseFile.h"
#include "storage/RecordSet.h"
#include "testsupport/TestEnvironment.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using test::PeopleTable;

std::string QueryText(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (!out.empty())
                out += ",";
            const unsigned char* t = sqlite3_column_text(st, 0);
            out += t ? reinterpret_cast<const char*>(t) : "";
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DatabaseFileTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    fs::path file_ = env_.Root() / "db.db";
    vt::FixedClock clock_ = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
};

TEST_F(DatabaseFileTest, MissingFileIsCreatedWithTablesIndexesAndLog) {
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().created);
    EXPECT_TRUE(r.value().movedAside.empty());
    EXPECT_EQ(QueryText(file_, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(QueryText(file_, "SELECT name FROM pragma_table_info('People')"),
              "ID,Name,Phone,Age,Vip,Seen,Score,Group");
    EXPECT_EQ(QueryText(file_, "SELECT name FROM sqlite_master WHERE type='index' ORDER BY name"),
              "idx_People_Phone,idx_People_Seen");
}

TEST_F(DatabaseFileTest, CreatedFileAndItsJournalsArePrivateWhateverTheUmask) {
    const mode_t old = ::umask(0);
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ::umask(old);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    for (const char* suffix : {"", "-wal", "-shm"}) {
        fs::path p = file_;
        p += suffix;
        struct stat st {};
        if (::stat(p.c_str(), &st) != 0)
            continue;  // journals exist only while open
        EXPECT_EQ(st.st_mode & 0777, 0600u) << p;
    }
}

TEST_F(DatabaseFileTest, GoodFileIsKeptWithItsRecords) {
    ASSERT_TRUE(PrepareDatabaseFile(file_, {PeopleTable()}, clock_).ok());
    {
        RecordSet rs(PeopleTable());
        ASSERT_TRUE(rs.Open(file_).ok());
        ASSERT_TRUE(rs.AddNew().ok());
        ASSERT_TRUE(rs.SetField("Name", "kept").ok());
        ASSERT_TRUE(rs.Update().ok());
    }
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.value().created);
    EXPECT_TRUE(r.value().movedAside.empty());
    EXPECT_EQ(QueryText(file_, "SELECT Name FROM People"), "kept");
}

TEST_F(DatabaseFileTest, MissingTableIsAddedBesideExistingData) {
    TableSchema other = PeopleTable();
    other.name = "Other";
    ASSERT_TRUE(PrepareDatabaseFile(file_, {PeopleTable()}, clock_).ok());
    QueryText(file_, "INSERT INTO People (Name) VALUES ('kept')");
    auto r = PrepareDatabaseFile(file_, {PeopleTable(), other}, clock_);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value().tablesAdded, std::vector<std::string>{"Other"});
    EXPECT_EQ(QueryText(file_, "SELECT Name FROM People"), "kept");
    EXPECT_EQ(QueryText(file_, "SELECT count(*) FROM Other"), "0");
}

TEST_F(DatabaseFileTest, GarbageFileIsMovedAsideWithItsDateNotOverwritten) {
    const std::string garbage =
        "this is no database, but somebody's file\n" + std::string(5000, 'x');
    WriteFile(file_, garbage);
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().created);
    EXPECT_EQ(r.value().movedAside, env_.Root() / "db.db.damaged-20070312-090507");
    EXPECT_FALSE(r.value().reason.empty());
    EXPECT_EQ(ReadFile(r.value().movedAside), garbage);
    RecordSet rs(PeopleTable());
    EXPECT_TRUE(rs.Open(file_).ok());
    // A second bad file the same second gets its own name.
    rs.Close();
    WriteFile(file_, "again");
    auto again = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value().movedAside, env_.Root() / "db.db.damaged-20070312-090507-1");
}

TEST_F(DatabaseFileTest, TableOfAnotherShapeIsMovedAside) {
    QueryText(file_, "CREATE TABLE People (Name TEXT, Phone TEXT)");
    QueryText(file_, "INSERT INTO People VALUES ('theirs', '1')");
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    ASSERT_FALSE(r.value().movedAside.empty());
    EXPECT_EQ(QueryText(r.value().movedAside, "SELECT Name FROM People"), "theirs");
    EXPECT_EQ(QueryText(file_, "SELECT count(*) FROM People"), "0");
}

TEST_F(DatabaseFileTest, AFolderInThePlaceOfTheFileIsAnError) {
    fs::create_directory(file_);
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(DatabaseFileTest, UnwritableFolderIsAnErrorNotACrash) {
    auto r =
        PrepareDatabaseFile(env_.Root() / "no" / "such" / "folder.db", {PeopleTable()}, clock_);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.status().code(), ErrorCode::Io);
}

}  // namespace
}  // namespace storage
