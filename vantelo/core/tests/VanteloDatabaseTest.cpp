// The phone's database file in the application folder.

#include <gtest/gtest.h>

#include <fstream>

#include "storage/Connection.h"
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
              "CompanyInnerLine,FaxNum,Email,WebPage,LastCall,Notes,"
              "HomePhoneKey,CellPhoneKey,CompanyPhone1Key,CompanyPhone2Key");
    EXPECT_EQ(ColumnList(InnerLineListSchema()), ColumnList(AddressListSchema()));
    EXPECT_EQ(ColumnList(CallListSchema()),
              "CallMode,CallName,CallNum,CallCompressMode,CallDate,CallTime,CallRecDirectory,"
              "CallRecFileName,CallRec,CallDtmf,CallbInner,CallMemo,CallDesk,CallUid");
    // The system's 19, then the national forms of the four telephone fields.
    EXPECT_EQ(AddressListSchema().columns.size(), 23u);
    EXPECT_EQ(CallListSchema().columns.size(), static_cast<size_t>(kCallListFields) + 2);
}

TEST(VanteloDatabase, EveryTableOpensAfterPreparing) {
    vt::test::TestEnvironment env;
    ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
    for (const auto& schema : PhoneTables()) {
        storage::RecordSet rs(schema);
        EXPECT_TRUE(rs.Open(DefaultDatabasePath()).ok()) << schema.name;
    }
}

TEST(VanteloDatabase, ForeignFileIsKeptAndTheWindowIsTold) {
    vt::test::TestEnvironment env;
    const fs::path file = env.AppHome() / "VanteloDB1.db";
    std::ofstream(file) << "Standard Jet DB, not ours";
    auto r = PrepareDatabase(vt::FixedClock::At(2007, 3, 12, 9, 5, 7));
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(vt::test::ReadText(file), "Standard Jet DB, not ours");
    std::string notice = PrepareFailureNotice(r.status());
    EXPECT_NE(notice.find("VanteloDB1.db"), std::string::npos);
    EXPECT_NE(notice.find("vtdb recover"), std::string::npos);
    EXPECT_EQ(notice.find('\n'), std::string::npos);
    EXPECT_EQ(PrepareFailureNotice(storage::Status::Ok()), "");
}

TEST(VanteloDatabase, OlderCallLogGainsItsMissingColumnsAndKeepsItsCalls) {
    vt::test::TestEnvironment env;
    const fs::path file = env.AppHome() / "VanteloDB1.db";
    {
        auto c = storage::Connection::Open(file, storage::Connection::Mode::ReadWriteCreate);
        ASSERT_TRUE(c.ok());
        ASSERT_TRUE(c.value()
                        ->Exec("CREATE TABLE CallList (CallMode INTEGER, CallName TEXT, CallNum "
                               "TEXT, CallDate DATETIME, CallTime INTEGER, Extra TEXT);"
                               "INSERT INTO CallList VALUES (2, 'Kim', '0212345678', "
                               "'2007-03-12 10:00:00', 0, 'theirs')")
                        .ok());
    }
    auto r = PrepareDatabase(vt::SystemClock::Instance());
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_EQ(r.value().tablesAdded,
              (std::vector<std::string>{"AddressList", "InnerLineList", "BlockList", "HeardList",
                                        "CardDavState", "CardDavBook"}));
    EXPECT_EQ(r.value().columnsAdded.size(), 9u);  // with the desk and the unique id
    storage::RecordSet rs(CallListSchema());
    ASSERT_TRUE(rs.Open(file).ok());
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetText("CallName"), "Kim");
    EXPECT_EQ(rs.GetText("CallMemo"), "");
}

}  // namespace
}  // namespace vantelo
