// The address-book sync against a real CardDAV server (Radicale) of the
// test's own. Numbers are written in national digits here: other ways of
// writing them are matched by the phone-number normalisation, not by the sync.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "directory/CardDavSync.h"
#include "storage/RecordSet.h"
#include "testsupport/RadicaleTestServer.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vcard/VCard.h"

namespace directory {
namespace {

using Kind = CardDavReport::Kind;

std::string Card(const std::string& uid, const std::string& name, const std::string& lines) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + name + "\r\nN:" + name +
           ";;;;\r\n" + lines + "END:VCARD\r\n";
}

class CardDavSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok());
        server_ = std::make_unique<vt::test::RadicaleTestServer>(env_.Root() / "radicale");
        settings_.url = server_->CreateAddressBook("contacts");
        settings_.user = server_->User();
    }

    CardDavReport Sync(const std::string& password = "s3cret") {
        CardDavSync sync(settings_, password, vantelo::DefaultDatabasePath(), 5, 60);
        return sync.Run();
    }

    std::string Put(const std::string& name, const std::string& card,
                    const std::string& ifMatch = {}) {
        std::vector<std::string> headers = {"Content-Type: text/vcard; charset=utf-8"};
        if (!ifMatch.empty())
            headers.push_back("If-Match: " + ifMatch);
        const auto r = server_->Curl("PUT", settings_.url + name, card, headers);
        EXPECT_EQ(r.status / 100, 2) << name << " " << r.status;
        return r.etag;
    }

    vt::test::CurlReply Get(const std::string& name) {
        return server_->Curl("GET", settings_.url + name);
    }

    std::string Caller(const std::string& number) {
        vantelo::CRSAddressList book;
        vantelo::CRSInnerLineList inner;
        EXPECT_TRUE(book.Open().ok() && inner.Open().ok());
        auto name = vantelo::LookupName(number, "", book, inner);
        EXPECT_TRUE(name.ok());
        return name.value_or("");
    }

    // The contact book: name -> record.
    std::map<std::string, vantelo::ContactRecord> Book() {
        std::map<std::string, vantelo::ContactRecord> out;
        vantelo::CRSAddressList set;
        EXPECT_TRUE(set.Open().ok());
        for (Status s = set.MoveFirst(); !set.IsEOF(); s = set.MoveNext()) {
            auto c = set.CurrentContact();
            if (c.ok())
                out[c.value().fields[0]] = c.value();
        }
        return out;
    }

    // Edits the contact of that name as the address book page does.
    void EditHere(const std::string& name, const char* field, const std::string& value) {
        vantelo::CRSAddressList set;
        ASSERT_TRUE(set.Open().ok());
        ASSERT_TRUE(set.ApplyFilter("[Name] = '" + name + "'").ok());
        ASSERT_EQ(set.GetRecordCount(), 1);
        ASSERT_TRUE(set.MoveFirst().ok());
        auto c = set.CurrentContact();
        ASSERT_TRUE(c.ok());
        *c.value().Field(field) = value;
        ASSERT_TRUE(set.StoreCurrent(c.value()).ok());
    }

    void DeleteHere(const std::string& name) {
        vantelo::CRSAddressList set;
        ASSERT_TRUE(set.Open().ok());
        ASSERT_TRUE(set.ApplyFilter("[Name] = '" + name + "'").ok());
        ASSERT_TRUE(set.MoveFirst().ok());
        ASSERT_TRUE(set.Delete().ok());
    }

    // The ETag the sync keeps for a card.
    std::string KeptETag(const std::string& name) {
        storage::RecordSet state(vantelo::CardDavStateSchema());
        EXPECT_TRUE(state.Open(vantelo::DefaultDatabasePath()).ok());
        EXPECT_TRUE(state.ApplyFilter("[Href] LIKE '*" + name + "'").ok());
        if (state.GetRecordCount() != 1)
            return "";
        EXPECT_TRUE(state.MoveFirst().ok());
        return state.GetText("ETag");
    }

    using Status = storage::Status;
    vt::test::TestEnvironment env_;
    std::unique_ptr<vt::test::RadicaleTestServer> server_;
    CardDavSettings settings_;
};

TEST_F(CardDavSyncTest, ACardPutWithCurlNamesTheNextCallerAndFillsTheFields) {
    Put("kim.vcf", Card("kim", "김철수",
                        "ORG:반텔로;영업부\r\nTITLE:과장\r\nCATEGORIES:회사,골프\r\n"
                        "TEL;TYPE=CELL:01022223333\r\nTEL;TYPE=WORK,VOICE:0312345678\r\n"
                        "TEL;TYPE=WORK,FAX:0319999999\r\nEMAIL:kim@ex.kr\r\n"
                        "URL:https://ex.kr\r\nADR;TYPE=HOME:;;중구 1번지;서울;;;\r\n"
                        "NOTE:keeps this\r\n"));
    Put("lee.vcf", Card("lee", "이영희", "TEL;TYPE=HOME:0212345678\r\n"));
    // Numbers as people write them still name their callers.
    Put("park.vcf", Card("park", "박민수",
                         "TEL;TYPE=CELL:+82 10-4444-5555\r\nTEL;TYPE=HOME:02)765-4321\r\n"));
    const CardDavReport first = Sync();
    EXPECT_TRUE(first.finished);
    EXPECT_TRUE(first.problems.empty()) << first.ProblemLines().front();
    EXPECT_EQ(first.Count(Kind::AddedHere), 3);
    EXPECT_FALSE(first.incremental);

    struct Case {
        const char* number;
        const char* name;
    };
    for (const Case& c :
         {Case{"01022223333", "김철수"}, Case{"0312345678", "김철수"}, Case{"0212345678", "이영희"},
          Case{"01044445555", "박민수"}, Case{"027654321", "박민수"}, Case{"0319999999", ""},
          Case{"0200000000", ""}})
        EXPECT_EQ(Caller(c.number), c.name) << c.number;

    auto book = Book();
    ASSERT_EQ(book.size(), 3u);
    const vantelo::ContactRecord& kim = book["김철수"];
    const std::map<std::string, std::string> expected = {{"Group", "회사"},
                                                         {"CompanyName", "반텔로"},
                                                         {"CompanyDepartment", "영업부"},
                                                         {"CompanyDuty", "과장"},
                                                         {"FaxNum", "0319999999"},
                                                         {"Email", "kim@ex.kr"},
                                                         {"WebPage", "https://ex.kr"},
                                                         {"HomeAddress", "중구 1번지 서울"}};
    for (const auto& [field, value] : expected) EXPECT_EQ(*kim.Field(field), value) << field;

    // Later syncs ask only for changes: nothing changed, nothing done.
    const CardDavReport second = Sync();
    EXPECT_TRUE(second.incremental);
    EXPECT_TRUE(second.changes.empty());
    EXPECT_EQ(second.ChangeLines().size(), 0u);

    // A number changed on the server: the new writing names the caller, the
    // old number nobody.
    Put("park.vcf", Card("park", "박민수", "TEL;TYPE=CELL:+82-10-6666-7777\r\n"));
    EXPECT_TRUE(Sync().problems.empty());
    EXPECT_EQ(Caller("01066667777"), "박민수");
    EXPECT_EQ(Caller("01044445555"), "");
    EXPECT_EQ(Caller("027654321"), "");
}

TEST_F(CardDavSyncTest, AnEditHereReachesTheServerWithTheRightETag) {
    // A home address longer than the book's column keeps its whole length.
    const std::string address(300, 'x');
    const std::string etag = Put("park.vcf", Card("park", "박민수",
                                                  "TEL;TYPE=CELL:01055556666\r\nNOTE:keeps this\r\n"
                                                  "ADR;TYPE=HOME:;;" +
                                                      address + ";;;;\r\n"));
    Sync();
    EXPECT_EQ(KeptETag("park.vcf"), etag);
    EditHere("박민수", "CellPhone", "01077778888");
    const CardDavReport report = Sync();
    EXPECT_EQ(report.Count(Kind::SentChange), 1) << ::testing::PrintToString(report.ChangeLines());
    EXPECT_TRUE(report.problems.empty());

    const auto now = Get("park.vcf");
    EXPECT_NE(now.body.find("01077778888"), std::string::npos) << now.body;
    EXPECT_EQ(now.body.find("01055556666"), std::string::npos);
    EXPECT_NE(now.body.find("keeps this"), std::string::npos);  // a property without a field
    std::vector<vcard::ContactFields> parsed;
    std::string error;
    ASSERT_TRUE(vcard::VCard::Parse(now.body, parsed, error)) << error;
    EXPECT_EQ(parsed.at(0)[3], address);
    EXPECT_EQ(Book()["박민수"].fields[3].size(), 255u);
    EXPECT_NE(now.etag, etag);
    EXPECT_EQ(KeptETag("park.vcf"), now.etag);
    // The old version is refused by the server: the sync's PUT replaced it.
    const auto stale = server_->Curl("PUT", settings_.url + "park.vcf", now.body,
                                     {"Content-Type: text/vcard", "If-Match: " + etag});
    EXPECT_EQ(stale.status, 412);
    // And a new contact here becomes a new card there.
    {
        vantelo::CRSAddressList set;
        vantelo::ContactRecord added;
        added.fields[0] = "최지우";
        added.fields[4] = "01012121212";
        ASSERT_TRUE(set.AddContact(added).ok());
    }
    const CardDavReport sent = Sync();
    EXPECT_EQ(sent.Count(Kind::SentNew), 1);
    const auto listing = server_->Curl("PROPFIND", settings_.url, "", {"Depth: 1"});
    EXPECT_NE(listing.body.find(".vcf"), std::string::npos);
    int cards = 0;
    for (size_t at = listing.body.find(".vcf<"); at != std::string::npos;
         at = listing.body.find(".vcf<", at + 1))
        ++cards;
    EXPECT_EQ(cards, 2);
}

TEST_F(CardDavSyncTest, AnEditOnBothSidesKeepsBoth) {
    const std::string etag = Put("han.vcf", Card("han", "한가람", "TEL;TYPE=CELL:01030303030\r\n"));
    Sync();
    EditHere("한가람", "CellPhone", "01040404040");
    Put("han.vcf", Card("han", "한가람", "TEL;TYPE=CELL:01050505050\r\n"), etag);
    const CardDavReport report = Sync();
    ASSERT_EQ(report.Count(Kind::Conflict), 1);
    EXPECT_EQ(report.changes.front().other, "한가람 (Vantelo)");
    EXPECT_EQ(report.Count(Kind::SentNew), 1);  // the saved copy goes to the server too

    auto book = Book();
    ASSERT_EQ(book.size(), 2u);
    EXPECT_EQ(book["한가람"].fields[4], "01050505050");
    EXPECT_EQ(book["한가람 (Vantelo)"].fields[4], "01040404040");
    EXPECT_NE(Get("han.vcf").body.find("01050505050"), std::string::npos);
    const auto listing = server_->Curl(
        "REPORT", settings_.url,
        "<?xml version=\"1.0\"?><C:addressbook-query xmlns:D=\"DAV:\" "
        "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:prop><C:address-data/></D:prop>"
        "</C:addressbook-query>",
        {"Depth: 1", "Content-Type: application/xml"});
    EXPECT_NE(listing.body.find("01040404040"), std::string::npos) << listing.body;
    EXPECT_NE(listing.body.find("FN:한가람 (Vantelo)"), std::string::npos);
}

TEST_F(CardDavSyncTest, DeletionsTravelBothWays) {
    Put("a.vcf", Card("a", "가나", "TEL;TYPE=CELL:01011110000\r\n"));
    Put("b.vcf", Card("b", "다라", "TEL;TYPE=CELL:01022220000\r\n"));
    Sync();
    ASSERT_EQ(Book().size(), 2u);
    EXPECT_EQ(server_->Curl("DELETE", settings_.url + "a.vcf").status / 100, 2);
    DeleteHere("다라");
    const CardDavReport report = Sync();
    EXPECT_EQ(report.Count(Kind::RemovedHere), 1);
    EXPECT_EQ(report.Count(Kind::RemovedThere), 1);
    EXPECT_TRUE(Book().empty());
    EXPECT_EQ(Caller("01011110000"), "");
    EXPECT_EQ(Get("b.vcf").status, 404);
}

TEST_F(CardDavSyncTest, ATokenTheServerNoLongerKnowsFallsBackToComparingETags) {
    const std::string etag = Put("n1.vcf", Card("n1", "남궁민", "TEL;TYPE=CELL:01080808080\r\n"));
    Put("n2.vcf", Card("n2", "노은비", "TEL;TYPE=CELL:01090909090\r\n"));
    Put("n3.vcf", Card("n3", "도하늘", "TEL;TYPE=CELL:01010101010\r\n"));
    Sync();
    Put("n1.vcf", Card("n1", "남궁민", "TEL;TYPE=CELL:01080800000\r\n"), etag);
    EXPECT_EQ(server_->Curl("DELETE", settings_.url + "n2.vcf").status / 100, 2);
    {
        storage::RecordSet book(vantelo::CardDavBookSchema());
        ASSERT_TRUE(book.Open(vantelo::DefaultDatabasePath()).ok());
        ASSERT_TRUE(book.MoveFirst().ok());
        ASSERT_TRUE(book.Edit().ok());
        ASSERT_TRUE(book.SetField("SyncToken", std::string("http://radicale.org/ns/sync/0")).ok());
        ASSERT_TRUE(book.Update().ok());
    }
    const CardDavReport report = Sync();
    EXPECT_FALSE(report.incremental);
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(report.Count(Kind::ChangedHere), 1) << ::testing::PrintToString(report.ChangeLines());
    EXPECT_EQ(report.Count(Kind::RemovedHere), 1);
    EXPECT_EQ(report.changes.size(), 2u);  // the unchanged card is not fetched again
    EXPECT_EQ(Caller("01080800000"), "남궁민");
    EXPECT_EQ(Caller("01090909090"), "");
    EXPECT_TRUE(Sync().incremental);
}

TEST_F(CardDavSyncTest, AnImportThatReplacesTheWholeBookKeepsTheCards) {
    Put("yun.vcf", Card("yun", "윤서연", "TEL;TYPE=CELL:01060606060\r\nNOTE:keeps this\r\n"));
    Put("jo.vcf", Card("jo", "조민호", "TEL;TYPE=CELL:01070707070\r\n"));
    Sync();
    // As the converter imports: every row deleted, the file's rows added.
    DeleteHere("윤서연");
    DeleteHere("조민호");
    {
        vantelo::CRSAddressList set;
        vantelo::ContactRecord yun, jo;
        yun.fields[0] = "윤서연";
        yun.fields[4] = "01066666666";
        jo.fields[0] = "조민호";
        jo.fields[4] = "01070707070";
        ASSERT_TRUE(set.AddContact(yun).ok());
        ASSERT_TRUE(set.AddContact(jo).ok());
    }
    const CardDavReport report = Sync();
    EXPECT_EQ(report.Count(Kind::SentChange), 1) << ::testing::PrintToString(report.ChangeLines());
    EXPECT_EQ(report.Count(Kind::RemovedThere), 0);
    EXPECT_EQ(report.Count(Kind::SentNew), 0);
    const auto yun = Get("yun.vcf");
    EXPECT_NE(yun.body.find("01066666666"), std::string::npos) << yun.body;
    EXPECT_NE(yun.body.find("keeps this"), std::string::npos);
    EXPECT_EQ(Get("jo.vcf").status, 200);
    EXPECT_EQ(Sync().changes.size(), 0u);
}

TEST_F(CardDavSyncTest, AMemberThatIsNoVCardIsOneLineAndTheRestSyncs) {
    Put("ok1.vcf", Card("ok1", "마바", "TEL;TYPE=CELL:01033330000\r\n"));
    server_->StoreForeignMember("contacts", "notes.vcf", "shopping list: milk, bread\n");
    Put("ok2.vcf", Card("ok2", "사아", "TEL;TYPE=CELL:01044440000\r\n"));
    const CardDavReport report = Sync();
    EXPECT_TRUE(report.finished);
    ASSERT_EQ(report.problems.size(), 1u) << ::testing::PrintToString(report.ProblemLines());
    EXPECT_EQ(report.problems.front().error, CardDavReport::Error::NotVCard);
    const std::string line = report.ProblemLines().front();
    EXPECT_NE(line.find("notes.vcf"), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(report.Count(Kind::AddedHere), 2);
    EXPECT_EQ(Caller("01044440000"), "사아");
}

TEST_F(CardDavSyncTest, AServerThatRefusesOrIsAwayGivesOneLineAndChangesNothing) {
    Put("x.vcf", Card("x", "자차", "TEL;TYPE=CELL:01055550000\r\n"));
    struct Case {
        const char* what;
        std::string url;
        std::string password;
        CardDavReport::Error error;
        const char* inLine;
    };
    const std::string away =
        "http://127.0.0.1:" + std::to_string(vt::test::FreeLoopbackPort()) + "/desk/contacts/";
    for (const Case& c :
         {Case{"wrong password", settings_.url, "wrong", CardDavReport::Error::Unauthorized, "401"},
          Case{"nobody listening", away, "s3cret", CardDavReport::Error::Unreachable, ""}}) {
        CardDavSettings s = settings_;
        s.url = c.url;
        const CardDavReport report =
            CardDavSync(s, c.password, vantelo::DefaultDatabasePath(), 5, 30).Run();
        EXPECT_FALSE(report.finished) << c.what;
        ASSERT_EQ(report.problems.size(), 1u) << c.what;
        EXPECT_EQ(report.problems.front().error, c.error) << c.what;
        const std::string line = report.StatusLine("desk");
        EXPECT_NE(line.find(c.inLine), std::string::npos) << c.what << ": " << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_TRUE(report.changes.empty()) << c.what;
        EXPECT_TRUE(Book().empty()) << c.what;
    }
    EXPECT_EQ(Sync().Count(Kind::AddedHere), 1);  // and the right password works
}

}  // namespace
}  // namespace directory
