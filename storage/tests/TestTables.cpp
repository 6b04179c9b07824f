#include "TestTables.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "storage/DatabaseFile.h"

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

}  // namespace storage::test
