// Preparing the database file: creation, keeping good files, moving bad ones aside.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "TestTables.h"
#include "storage/Connection.h"
#include "storage/DatabaseFile.h"
#include "storage/RecordSet.h"
#include "testsupport/DatabaseFixture.h"
#include "testsupport/TestEnvironment.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using test::PeopleTable;
using vt::test::QueryText;

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DatabaseFileTest : public ::testing::Test {
protected:
    bool AnyMovedAside() const {
        for (const auto& e : fs::directory_iterator(env_.Root()))
            if (e.path().filename().string().rfind("db.db.damaged", 0) == 0)
                return true;
        return false;
    }

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

TEST_F(DatabaseFileTest, GarbageFileIsRefusedAndKeptUnchanged) {
    const std::string garbage =
        "this is no database, but somebody's file\n" + std::string(5000, 'x');
    WriteFile(file_, garbage);
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.status().code(), ErrorCode::Damaged);
    EXPECT_EQ(r.status().message().rfind(file_.string() + "은(는) 바꾸지 않고 두었습니다: ", 0), 0u)
        << r.status().message();
    EXPECT_EQ(r.status().message().find('\n'), std::string::npos);
    EXPECT_EQ(ReadFile(file_), garbage);
    EXPECT_FALSE(AnyMovedAside());
    RecordSet rs(PeopleTable());
    EXPECT_EQ(rs.Open(file_).code(), ErrorCode::Damaged);
}

TEST_F(DatabaseFileTest, OtherToolsColumnsTablesIndexesAndTypeNamesAreAccepted) {
    // Every needed column, in another order, with type names of the same kind,
    // beside an extra column, an extra table and an extra index.
    QueryText(file_,
              "CREATE TABLE people (Extra BLOB, \"group\" VARCHAR(40), Score INT, Seen DATETIME, "
              "Vip BOOLEAN, Age TINYINT, Phone NVARCHAR(255), Name CHARACTER(20), "
              "ID INTEGER PRIMARY KEY)");
    QueryText(file_, "CREATE TABLE Notes (x)");
    QueryText(file_, "CREATE INDEX theirs ON people (Name)");
    QueryText(file_,
              "INSERT INTO people (Extra, \"group\", Score, Seen, Vip, Age, Phone, Name) "
              "VALUES (x'00', 'g', 5, '2007-03-12 09:05:07', 1, 30, '0212345678', 'kept')");
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().movedAside.empty());
    EXPECT_TRUE(r.value().columnsAdded.empty());
    EXPECT_EQ(QueryText(file_,
                        "SELECT count(*) FROM sqlite_master WHERE name IN ('Notes', "
                        "'theirs', 'idx_People_Phone')"),
              "3");
    RecordSet rs(PeopleTable());
    ASSERT_TRUE(rs.Open(file_).ok());
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetText("Name"), "kept");
    EXPECT_EQ(rs.GetInteger("Vip"), 1);
    ASSERT_TRUE(rs.ApplyFilter("[Seen] >= #2007/3/12 0:0:0# AND [Phone] = '0212345678'").ok());
    EXPECT_EQ(rs.GetRecordCount(), 1);
    ASSERT_TRUE(rs.AddNew().ok());
    ASSERT_TRUE(rs.SetField("Name", "new").ok());
    ASSERT_TRUE(rs.Update().ok());
    EXPECT_EQ(QueryText(file_, "SELECT quote(Extra) FROM people ORDER BY ID"), "X'00',NULL");
}

TEST_F(DatabaseFileTest, MissingColumnsAreAddedInPlace) {
    QueryText(file_,
              "CREATE TABLE People (ID INTEGER PRIMARY KEY, Name TEXT, Phone TEXT, Age "
              "INTEGER, Vip INTEGER, Seen TEXT)");
    QueryText(file_, "INSERT INTO People (Name, Phone, Age, Vip) VALUES ('old', '1', 3, 0)");
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().changed);
    EXPECT_EQ(r.value().columnsAdded, (std::vector<std::string>{"People.Score", "People.Group"}));
    RecordSet rs(PeopleTable());
    ASSERT_TRUE(rs.Open(file_).ok());
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetText("Name"), "old");
    EXPECT_EQ(rs.GetInteger("Score"), 0);
    EXPECT_EQ(rs.GetText("Group"), "");
    // The added columns check their values as the program's own do.
    ASSERT_TRUE(rs.Edit().ok());
    EXPECT_FALSE(rs.SetField("Score", "many").ok());
    rs.CancelUpdate();
    EXPECT_NE(QueryText(file_, "SELECT sql FROM sqlite_master WHERE name = 'People'")
                  .find("\"Group\" TEXT NOT NULL DEFAULT ''"),
              std::string::npos);
}

TEST_F(DatabaseFileTest, UnusableTableWithRowsIsRefusedAndTheFileKeptAsItWas) {
    for (const char* table :
         {"CREATE TABLE People (ID INTEGER PRIMARY KEY, Name TEXT, Phone INTEGER, Age INT, "
          "Vip INT, Seen TEXT, Score INT, \"Group\" TEXT)",
          "CREATE TABLE People (Name TEXT, Phone TEXT)",
          "CREATE TABLE Base (Name TEXT); CREATE VIEW People AS SELECT * FROM Base"}) {
        fs::remove(file_);
        QueryText(file_, "PRAGMA journal_mode = DELETE");
        for (std::string sql(table); !sql.empty();) {
            size_t end = sql.find(';');
            QueryText(file_, sql.substr(0, end));
            sql = end == std::string::npos ? "" : sql.substr(end + 1);
        }
        QueryText(file_,
                  "INSERT INTO " +
                      std::string(std::string(table).find("VIEW") != std::string::npos ? "Base"
                                                                                       : "People") +
                      " (Name) VALUES ('theirs')");
        const std::string before = ReadFile(file_);
        auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
        ASSERT_FALSE(r.ok()) << table;
        EXPECT_EQ(r.status().code(), ErrorCode::Incompatible) << r.status().ToString();
        EXPECT_EQ(r.status().message().rfind(file_.string() + "은(는) 바꾸지 않고 두었습니다: ", 0),
                  0u)
            << r.status().message();
        EXPECT_NE(r.status().message().find("; 이 프로그램은 이 파일을 쓸 수 없습니다"),
                  std::string::npos)
            << r.status().message();
        EXPECT_EQ(ReadFile(file_), before) << table;
        EXPECT_FALSE(AnyMovedAside()) << table;
    }
}

TEST_F(DatabaseFileTest, EmptyDatabaseOfAnotherShapeIsMovedAsideForANewOne) {
    QueryText(file_, "CREATE TABLE People (Name TEXT, Phone TEXT)");
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().created);
    EXPECT_EQ(r.value().movedAside, env_.Root() / "db.db.damaged-20070312-090507");
    EXPECT_NE(r.value().reason.find("ID"), std::string::npos);
    EXPECT_EQ(QueryText(r.value().movedAside, "SELECT name FROM pragma_table_info('People')"),
              "Name,Phone");
    RecordSet rs(PeopleTable());
    EXPECT_TRUE(rs.Open(file_).ok());
}

TEST_F(DatabaseFileTest, CompleteFileIsPreparedWithoutWritingWhileAnotherWrites) {
    ASSERT_TRUE(PrepareDatabaseFile(file_, {PeopleTable()}, clock_).ok());
    auto writer = Connection::Open(file_);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer.value()->Begin().ok());
    ASSERT_TRUE(writer.value()->Exec("INSERT INTO People (Name) VALUES ('pending')").ok());
    // Preparing needs no lock: it answers while the write is open, and writes nothing.
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_FALSE(r.value().changed);
    EXPECT_FALSE(r.value().created);
    RecordSet reader(PeopleTable());
    ASSERT_TRUE(reader.Open(file_).ok());
    EXPECT_EQ(reader.GetRecordCount(), 0);
    ASSERT_TRUE(writer.value()->Commit().ok());
    ASSERT_TRUE(reader.Requery().ok());
    EXPECT_EQ(reader.GetRecordCount(), 1);
}

TEST_F(DatabaseFileTest, MissingIndexIsAddedOnlyOnce) {
    ASSERT_TRUE(PrepareDatabaseFile(file_, {PeopleTable()}, clock_).ok());
    QueryText(file_, "DROP INDEX idx_People_Phone");
    auto r = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.value().changed);
    EXPECT_EQ(QueryText(file_,
                        "SELECT count(*) FROM sqlite_master WHERE name = "
                        "'idx_People_Phone'"),
              "1");
    auto again = PrepareDatabaseFile(file_, {PeopleTable()}, clock_);
    ASSERT_TRUE(again.ok());
    EXPECT_FALSE(again.value().changed);
}

TEST_F(DatabaseFileTest, NewFileIsTheOwnersOnly) {
    ASSERT_TRUE(PrepareDatabaseFile(file_, {PeopleTable()}, clock_).ok());
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

class ReadOnlyDatabaseTest : public DatabaseFileTest,
                             public ::testing::WithParamInterface<vt::test::ReadOnlyFolder::Kind> {
};

TEST_P(ReadOnlyDatabaseTest, ReadOnlyPlaceIsReadAndWritesAreRefusedAsReadOnly) {
    // A name that must be escaped when the file is opened by URI.
    const fs::path folder = env_.Root() / "read only ?#%";
    fs::create_directories(folder);
    const fs::path file = folder / "db.db";
    ASSERT_TRUE(PrepareDatabaseFile(file, {PeopleTable()}, clock_).ok());
    QueryText(file, "INSERT INTO People (Name) VALUES ('kept')");
    const std::string before = vt::test::ReadText(file);
    vt::test::ReadOnlyFolder readOnly(folder, GetParam());
    if (!readOnly.Active())
        GTEST_SKIP() << readOnly.Why();

    auto r = PrepareDatabaseFile(file, {PeopleTable()}, clock_);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().readOnly);
    EXPECT_FALSE(r.value().changed);
    RecordSet rs(PeopleTable());
    Status s = rs.Open(file);
    ASSERT_TRUE(s.ok()) << s.ToString();
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetText("Name"), "kept");
    for (Status refused : {rs.AddNew(), rs.Edit(), rs.Delete()}) {
        EXPECT_EQ(refused.code(), ErrorCode::ReadOnly);
        EXPECT_EQ(refused.ToString(), "읽기 전용: " + file.string() +
                                          "은(는) 읽기 전용으로 열렸습니다: 파일이나 그 폴더에 "
                                          "쓸 수 없습니다; 아무것도 바꾸지 않았습니다");
    }
    EXPECT_EQ(vt::test::ReadText(file), before);
    // A table that would have to be added cannot be: said, not hidden.
    TableSchema other = PeopleTable();
    other.name = "Other";
    EXPECT_EQ(PrepareDatabaseFile(file, {PeopleTable(), other}, clock_).status().code(),
              ErrorCode::ReadOnly);
}

INSTANTIATE_TEST_SUITE_P(Places, ReadOnlyDatabaseTest,
                         ::testing::Values(vt::test::ReadOnlyFolder::Kind::Mount,
                                           vt::test::ReadOnlyFolder::Kind::Folder),
                         [](const auto& info) {
                             return info.param == vt::test::ReadOnlyFolder::Kind::Mount
                                        ? std::string("Mount")
                                        : std::string("Folder");
                         });

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
