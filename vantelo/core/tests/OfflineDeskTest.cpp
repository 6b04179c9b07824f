// A desk on the office's shared server while the server goes away: calls
// are kept on the desk and handed over, each once and in order, when it
// answers again; callers are named from the desk's copy of the contact book,
// which follows the server's edits while it is there; the status line is
// told once that the server is gone and once that it is back.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "testsupport/Eventually.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

const vt::FixedClock kClock = vt::FixedClock::At(2026, 12, 10, 9, 5, 7);

void AddContact(const std::filesystem::path& database, const std::string& name,
                const std::string& number) {
    CRSAddressList contacts;
    ASSERT_TRUE(contacts.Open(database).ok());
    ContactRecord contact;
    *contact.Field("Name") = name;
    *contact.Field("HomePhone") = number;
    ASSERT_TRUE(contacts.AddContact(contact).ok());
}

CallRecord Call(const std::string& number, int minute) {
    CallRecord call;
    call.CallMode = kCallReceived;
    call.CallNum = number;
    call.CallDate = {2026, 12, 10, 10, minute, 0};
    call.CallTime = 30;
    return call;
}

// The numbers of the calls in the log, in stored order, and their ids.
std::vector<std::pair<std::string, std::string>> Logged(const std::filesystem::path& database) {
    CRSCallList log(database);
    std::vector<std::pair<std::string, std::string>> calls;
    if (!log.Open().ok() || log.GetRecordCount() == 0 || !log.MoveFirst().ok())
        return calls;
    for (; !log.IsEOF(); (void)log.MoveNext())
        calls.emplace_back(log.GetText("CallNum"), log.GetText("CallUid"));
    return calls;
}

class OfflineDesk : public ::testing::Test {
protected:
    static vt::test::PostgresServer& Server() {
        // Its own server: the tests stop it.
        static vt::test::PostgresServer server;
        return server;
    }
    void TearDown() override { Server().Resume(); }

    // Hurries the store's look at the server until it takes its kept calls.
    int HandOver(DatabasePhoneStore& store) {
        int handed = 0;
        vt::test::Eventually(
            [&] {
                store.Copy()->Wake();
                handed = store.HandOverKeptCalls();
                return handed > 0;
            },
            std::chrono::seconds(30));
        return handed;
    }

    vt::test::TestEnvironment env_;
    std::string uri_ = Server().NewDatabase();
};

TEST_F(OfflineDesk, CallsKeptWhileTheServerIsAwayAreHandedOverOnceInOrder) {
    ASSERT_TRUE(PrepareDatabase(kClock, uri_).ok());
    AddContact(uri_, "홍길동", "0212345678");
    DatabasePhoneStore store(kClock, uri_, env_.AppHome());
    ASSERT_EQ(store.OpenError(), "");
    std::string error;
    CallRecord first = Call("0299990000", 1);
    ASSERT_TRUE(store.AppendCall(first, error)) << error;
    EXPECT_EQ(store.TakeNotice(), "");

    // An edit on the server reaches the desk's copy while the server is there.
    AddContact(uri_, "김철수", "0311112222");
    const std::filesystem::path copy = store.Copy()->File();
    ASSERT_TRUE(vt::test::Eventually(
        [&] {
            store.Copy()->Wake();
            CRSAddressList copied;
            return copied.Open(copy).ok() &&
                   copied.FindName("0311112222", "").value_or("") == "김철수";
        },
        std::chrono::seconds(30)));

    Server().Halt();
    // Named from the copy; the status line hears of it once.
    EXPECT_EQ(store.IdentifyCaller("0212345678", "").name, "홍길동");
    EXPECT_EQ(store.TakeNotice(), text::kSharedStoreAway);
    for (int minute : {2, 3, 4}) {
        CallRecord call = Call("031111222" + std::to_string(minute), minute);
        ASSERT_TRUE(store.AppendCall(call, error)) << error;
        EXPECT_TRUE(call.CallNum.empty()) << "the kept call is reset like a logged one";
    }
    EXPECT_EQ(store.TakeNotice(), "");
    EXPECT_EQ(store.Spool()->Count().value_or(-1), 3);
    EXPECT_EQ(store.HandOverKeptCalls(), 0);  // nobody answers yet

    Server().Resume();
    // The first kept call reached the server once already (its answer was
    // lost): handing it over again must not double it.
    const auto kept = Logged(store.Spool()->File());
    ASSERT_EQ(kept.size(), 3u);
    {
        CRSCallList log(uri_);
        CallRecord again = Call(kept[0].first, 2);
        ASSERT_TRUE(log.AppendCall(again, kClock, kept[0].second).ok());
    }
    EXPECT_EQ(HandOver(store), 3);  // all three are off the spool
    EXPECT_EQ(store.TakeNotice(), text::kSharedStoreBack);
    EXPECT_EQ(store.Spool()->Count().value_or(-1), 0);
    CallRecord last = Call("0299990005", 5);
    ASSERT_TRUE(store.AppendCall(last, error)) << error;
    const auto logged = Logged(uri_);
    std::vector<std::string> numbers;
    for (const auto& [number, uid] : logged) numbers.push_back(number);
    EXPECT_EQ(numbers, (std::vector<std::string>{"0299990000", "0311112222", "0311112223",
                                                 "0311112224", "0299990005"}));
    EXPECT_EQ(logged[2].second, kept[1].second);
}

TEST_F(OfflineDesk, ADeskStartedWhileTheServerIsAwayKeepsItsCallsForLater) {
    ASSERT_TRUE(PrepareDatabase(kClock, uri_).ok());
    Server().Halt();
    DatabasePhoneStore store(kClock, uri_, env_.AppHome());
    EXPECT_EQ(store.OpenError(), "");
    EXPECT_EQ(store.TakeNotice(), text::kSharedStoreAway);
    std::string error;
    CallRecord call = Call("0212345678", 1);
    ASSERT_TRUE(store.AppendCall(call, error)) << error;
    EXPECT_EQ(store.IdentifyCaller("0212345678", "").name, "");  // no copy was ever made

    Server().Resume();
    EXPECT_EQ(HandOver(store), 1);
    ASSERT_EQ(Logged(uri_).size(), 1u);
    EXPECT_EQ(Logged(uri_)[0].first, "0212345678");
}

}  // namespace
}  // namespace vantelo
