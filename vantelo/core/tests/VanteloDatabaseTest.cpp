// The system's database file in the application folder.

#include <gtest/gtest.h>

#include <fstream>

#include "storage/RecordSet.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;

std::string ColumnList(const storage::TableSchema& t) {
    std::string out;
    for (const auto& c : t.columns) out += (out.empty() ? "" : ",") + c.name;
    return out;
}

TEST(VanteloDatabase, FileLivesInTheApplicationFolder) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(DefaultDatabasePath(), env.AppHome() / "VanteloDB1.db");
    auto r = PrepareDatabase(vt::SystemClock::Instance());
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_TRUE(r.value().created);
    EXPECT_TRUE(fs::exists(env.AppHome() / "VanteloDB1.db"));
    EXPECT_EQ(PrepareNotice(r.value()), "");
}

TEST(VanteloDatabase, TablesHaveTheSystemsColumnsInOrder) {
    EXPECT_EQ(ColumnList(AddressListSchema()),
              "ID,Name,Group,HomePhone,HomeAddress,CellPhone,CompanyName,CompanyDepartment,"
              "CompanyDuty,CompanyAddress1,CompanyAddress2,CompanyPhone1,CompanyPhone2,"
              "CompanyInnerLine,FaxNum,Email,WebPage,LastCall,Notes");
    EXPECT_EQ(ColumnList(InnerLineListSchema()), ColumnList(AddressListSchema()));
    EXPECT_EQ(ColumnList(CallListSchema()),
              "CallMode,CallName,CallNum,CallCompressMode,CallDate,CallTime,CallRecDirectory,"
              "CallRecFileName,CallRec,CallDtmf,CallbInner,CallMemo");
    EXPECT_EQ(AddressListSchema().columns.size(), 19u);
    EXPECT_EQ(CallListSchema().columns.size(), 12u);
}

TEST(VanteloDatabase, EveryTableOpensAfterPreparing) {
    vt::test::TestEnvironment env;
    ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
    for (const auto& schema : {AddressListSchema(), InnerLineListSchema(), CallListSchema()}) {
        storage::RecordSet rs(schema);
        EXPECT_TRUE(rs.Open(DefaultDatabasePath()).ok()) << schema.name;
    }
}

TEST(VanteloDatabase, DamagedFileIsMovedAsideAndTheWindowIsTold) {
    vt::test::TestEnvironment env;
    std::ofstream(env.AppHome() / "VanteloDB1.db") << "Standard Jet DB, not ours";
    auto r = PrepareDatabase(vt::FixedClock::At(2007, 3, 12, 9, 5, 7));
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_EQ(r.value().movedAside, env.AppHome() / "VanteloDB1.db.damaged-20070312-090507");
    std::string notice = PrepareNotice(r.value());
    EXPECT_NE(notice.find("VanteloDB1.db.damaged-20070312-090507"), std::string::npos);
    storage::RecordSet rs(CallListSchema());
    EXPECT_TRUE(rs.Open(DefaultDatabasePath()).ok());
}

}  // namespace
}  // namespace vantelo
