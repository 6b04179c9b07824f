#include "TestTables.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "storage/Connection.h"
#include "storage/DatabaseFile.h"
#include "storage/ServerSchema.h"
#include "testsupport/PostgresServer.h"

namespace storage::test {

TableSchema PeopleTable() {
    TableSchema t;
    t.name = "People";
    t.columns = {{"ID", ColumnType::AutoNumber}, {"Name", ColumnType::Text},
                 {"Phone", ColumnType::Text},    {"Age", ColumnType::Byte},
                 {"Vip", ColumnType::YesNo},     {"Seen", ColumnType::DateTime},
                 {"Score", ColumnType::Long},    {"Group", ColumnType::Text}};
    t.indexes = {{"Phone"}, {"Seen"}};
    return t;
}

std::filesystem::path MakeDatabase(const std::filesystem::path& folder) {
    std::filesystem::path file = folder / "test.db";
    auto report = PrepareDatabaseFile(file, {PeopleTable()}, vt::SystemClock::Instance());
    EXPECT_TRUE(report.ok()) << report.status().ToString();
    return file;
}

std::filesystem::path MakeDatabase(Dialect dialect, const std::filesystem::path& folder) {
    if (dialect == Dialect::SQLite)
        return MakeDatabase(folder);
    const std::string uri = vt::test::PostgresServer::Shared().NewDatabase();
    auto c = Connection::Open(uri);
    EXPECT_TRUE(c.ok()) << c.status().ToString();
    if (c.ok()) {
        auto report = MigrateServer(*c.value(), {CreateTablesMigration({PeopleTable()})});
        EXPECT_TRUE(report.ok()) << report.status().ToString();
    }
    return uri;
}

std::filesystem::path MissingDatabase(Dialect dialect, const std::filesystem::path& folder) {
    if (dialect == Dialect::SQLite)
        return folder / "none.db";
    return vt::test::PostgresServer::Shared().Uri("none");
}

std::string EngineName(Dialect dialect) {
    return dialect == Dialect::SQLite ? "SQLite" : "PostgreSQL";
}

}  // namespace storage::test
