// Contact edits a desk makes on its copy of the contact book while the
// office's shared server is away: kept in the desk's spool, handed over in
// order once the server answers again, each exactly once, and the copy
// takes them back with the server's IDs.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "storage/RecordSet.h"
#include "testsupport/Eventually.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/UserLog.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

const vt::FixedClock kClock = vt::FixedClock::At(2026, 12, 10, 9, 5, 7);

ContactRecord Contact(const std::string& name, const std::string& phone) {
    ContactRecord contact;
    *contact.Field("Name") = name;
    *contact.Field("HomePhone") = phone;
    return contact;
}

// "name phone" of every contact of the book, in stored order.
std::vector<std::string> Book(const std::filesystem::path& database) {
    CRSAddressList book;
    std::vector<std::string> rows;
    if (!book.Open(database).ok())
        return {"(not open)"};
    for (long i = 0; i < book.GetRecordCount(); ++i) {
        if (!book.SetAbsolutePosition(i).ok())
            return {"(unreadable)"};
        rows.push_back(book.GetText("Name") + " " + book.GetText("HomePhone"));
    }
    return rows;
}

// Positions the book on the contact named `name`; false when it is not there.
bool Find(CRSAddressList& book, const std::string& name) {
    return book.SetSearch(1, name).ok() && book.GetRecordCount() == 1 &&
           book.SetAbsolutePosition(0).ok();
}

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class OfflineContactEdit : public ::testing::Test {
protected:
    static vt::test::PostgresServer& Server() {
        static vt::test::PostgresServer server;  // its own: the tests stop it
        return server;
    }
    void TearDown() override { Server().Resume(); }

    vt::test::TestEnvironment env_;
    std::string uri_ = Server().NewDatabase();
};

TEST_F(OfflineContactEdit, EditsMadeWhileAwayReachTheServerOnceInOrder) {
    ASSERT_TRUE(PrepareDatabase(kClock, uri_).ok());
    {
        CRSAddressList book;
        ASSERT_TRUE(book.Open(uri_).ok());
        for (const ContactRecord& c :
             {Contact("홍길동", "0212345678"), Contact("김철수", "0311112222"),
              Contact("이영희", "0322223333")})
            ASSERT_TRUE(book.AddContact(c).ok());
    }
    DatabasePhoneStore store(kClock, uri_, env_.AppHome());
    ASSERT_EQ(store.OpenError(), "");
    const std::filesystem::path copy = store.Copy()->File();
    // The copy names each contact by the server's ID.
    ASSERT_TRUE(vt::test::Eventually(
        [&] {
            CRSAddressList copied;
            if (!copied.Open(copy).ok() || !Find(copied, "이영희"))
                return false;
            auto id =
                OfflineCopy::ServerIdOf(copy, AddressListSchema(), copied.GetRecordId().value());
            return id.ok() && id.value() == 3;
        },
        std::chrono::seconds(30)));

    Server().Halt();
    EXPECT_EQ(store.IdentifyCaller("0212345678", "").name, "홍길동");
    ASSERT_TRUE(store.Away());
    ContactEditSpool& edits = *store.Edits();
    CRSAddressList book;  // as the address-book page works on the copy
    ASSERT_TRUE(book.Open(copy).ok());
    const std::string table = "AddressList";
    // Add, change, delete; then a contact added here changed and one added
    // and deleted again, which the server never needs to see.
    ASSERT_TRUE(book.AddContact(Contact("박민수", "0233334444")).ok());
    ASSERT_TRUE(edits.KeepAdd(table, book.GetLastModified(), Contact("박민수", "0233334444")).ok());
    ASSERT_TRUE(Find(book, "홍길동"));
    ASSERT_TRUE(book.StoreCurrent(Contact("홍길동", "0299998888")).ok());
    ASSERT_TRUE(
        edits.KeepChange(table, book.GetRecordId().value(), Contact("홍길동", "0299998888")).ok());
    ASSERT_TRUE(Find(book, "김철수"));
    ASSERT_TRUE(edits.KeepDelete(table, book.GetRecordId().value()).ok());
    ASSERT_TRUE(book.Delete().ok());
    ASSERT_TRUE(Find(book, "이영희"));
    ASSERT_TRUE(
        edits.KeepChange(table, book.GetRecordId().value(), Contact("이영희", "0300000000")).ok());
    ASSERT_TRUE(book.SetSearch(0, "").ok());
    ASSERT_TRUE(book.AddContact(Contact("최지우", "0244445555")).ok());
    const long long added = book.GetLastModified();
    ASSERT_TRUE(edits.KeepAdd(table, added, Contact("최지우", "0244445555")).ok());
    ASSERT_TRUE(edits.KeepChange(table, added, Contact("최지우", "0244446666")).ok());
    ASSERT_TRUE(book.AddContact(Contact("정다운", "0255556666")).ok());
    ASSERT_TRUE(edits.KeepAdd(table, book.GetLastModified(), Contact("정다운", "0255556666")).ok());
    ASSERT_TRUE(edits.KeepDelete(table, book.GetLastModified()).ok());
    EXPECT_EQ(edits.Count().value_or(-1), 5);
    EXPECT_EQ(store.HandOverKeptCalls(), 0);
    EXPECT_EQ(edits.Count().value_or(-1), 5) << "nothing is handed over while nobody answers";

    Server().Resume();
    {
        // Another desk deletes the contact changed here meanwhile.
        CRSAddressList other;
        ASSERT_TRUE(other.Open(uri_).ok());
        ASSERT_TRUE(Find(other, "이영희"));
        ASSERT_TRUE(other.Delete().ok());
    }
    // The spool as it was: a handover whose removals never reached the disk.
    const std::filesystem::path before = env_.AppHome() / "spool-before.db";
    std::filesystem::copy_file(edits.File(), before);
    ASSERT_TRUE(vt::test::Eventually(
        [&] {
            store.Copy()->Wake();
            store.HandOverKeptCalls();
            return edits.Count().value_or(-1) == 0;
        },
        std::chrono::seconds(30)));
    const std::vector<std::string> expected = {"홍길동 0299998888", "박민수 0233334444",
                                               "최지우 0244446666"};
    EXPECT_EQ(Book(uri_), expected);
    EXPECT_EQ(store.TakeNotice(), text::kSharedStoreBack);
    // One line says which change was dropped.
    const std::string log = Read(env_.AppHome() / UserLog::kFileName);
    const std::string dropped =
        "서버에서 그사이 삭제된 연락처 '이영희'의 변경은 적용하지 않았습니다";
    EXPECT_NE(log.find(dropped), std::string::npos) << log;

    // Offered again, every edit is known by its id: nothing doubles.
    std::filesystem::remove(edits.File());
    std::filesystem::rename(before, edits.File());
    ASSERT_EQ(edits.Count().value_or(-1), 5);
    ASSERT_TRUE(vt::test::Eventually(
        [&] {
            store.HandOverKeptCalls();
            return edits.Count().value_or(-1) == 0;
        },
        std::chrono::seconds(30)));
    EXPECT_EQ(Book(uri_), expected);
    const std::string again = Read(env_.AppHome() / UserLog::kFileName);
    EXPECT_EQ(again.find(dropped), again.rfind(dropped)) << "said once";

    // The edits landed in the order they were made.
    storage::RecordSet handed(ContactEditLogSchema());
    ASSERT_TRUE(handed.Open(uri_).ok());
    std::vector<long long> contacts;
    for (long i = 0; i < handed.GetRecordCount(); ++i) {
        ASSERT_TRUE(handed.SetAbsolutePosition(i).ok());
        contacts.push_back(handed.GetInteger("ContactId"));
    }
    EXPECT_EQ(contacts, (std::vector<long long>{4, 1, 2, 3, 5}));

    // The copy takes the book back, each contact with its server ID.
    EXPECT_TRUE(vt::test::Eventually(
        [&] {
            store.Copy()->Wake();
            CRSAddressList copied;
            if (Book(copy) != expected || !copied.Open(copy).ok() || !Find(copied, "최지우"))
                return false;
            auto id =
                OfflineCopy::ServerIdOf(copy, AddressListSchema(), copied.GetRecordId().value());
            return id.ok() && id.value() == 5;
        },
        std::chrono::seconds(30)));
}

}  // namespace
}  // namespace vantelo
