// The contact book and inner-line record sets: their filter texts, the
// joining of the three parts, and the caller-ID match; on the database file
// and on a shared PostgreSQL server alike.

#include <gtest/gtest.h>

#include <vector>

#include "SharedEngine.h"
#include "storage/Connection.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

using V = std::vector<std::string>;

ContactRecord Contact(const std::string& name, const std::string& group,
                      const std::string& home = "", const std::string& cell = "",
                      const std::string& company = "", const std::string& inner = "") {
    ContactRecord c;
    *c.Field("Name") = name;
    *c.Field("Group") = group;
    *c.Field("HomePhone") = home;
    *c.Field("CellPhone") = cell;
    *c.Field("CompanyName") = company;
    *c.Field("CompanyDepartment") = company;
    *c.Field("CompanyInnerLine") = inner;
    return c;
}

std::vector<std::string> Names(ContactRecordSet& set) {
    std::vector<std::string> out;
    for (long i = 0; i < set.GetRecordCount(); ++i) {
        EXPECT_TRUE(set.SetAbsolutePosition(i).ok());
        out.push_back(set.GetText("Name"));
    }
    return out;
}

class ContactRecordSetTest : public ::testing::TestWithParam<storage::Dialect> {
protected:
    void SetUp() override {
        test::UseEngine(GetParam());
        ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
        ASSERT_TRUE(book_.Open().ok());
        ASSERT_TRUE(inner_.Open().ok());
    }
    void AddBook(const ContactRecord& c) { ASSERT_TRUE(book_.AddContact(c).ok()); }
    void AddInner(const ContactRecord& c) { ASSERT_TRUE(inner_.AddContact(c).ok()); }

    vt::test::TestEnvironment env_;
    CRSAddressList book_;
    CRSInnerLineList inner_;
};

TEST(ContactIndex, FourteenHangulRangesVerbatim) {
    const char* expected[] = {
        "[Name] >= '가' AND [Name] < '나'", "[Name] >= '나' AND [Name] < '다'",
        "[Name] >= '다' AND [Name] < '라'", "[Name] >= '라' AND [Name] < '마'",
        "[Name] >= '마' AND [Name] < '바'", "[Name] >= '바' AND [Name] < '사'",
        "[Name] >= '사' AND [Name] < '아'", "[Name] >= '아' AND [Name] < '자'",
        "[Name] >= '자' AND [Name] < '차'", "[Name] >= '차' AND [Name] < '카'",
        "[Name] >= '카' AND [Name] < '타'", "[Name] >= '타' AND [Name] < '파'",
        "[Name] >= '파' AND [Name] < '하'", "[Name] >= '하' AND [Name] < '힣'"};
    for (int i = 1; i <= 14; ++i)
        EXPECT_EQ(ContactRecordSet::IndexConditionFor(i), expected[i - 1]);
    EXPECT_EQ(ContactRecordSet::IndexConditionFor(0), "");
    EXPECT_EQ(ContactRecordSet::IndexConditionFor(15), "");
    EXPECT_EQ(ContactRecordSet::IndexConditionFor(-1), "");
}

TEST_P(ContactRecordSetTest, EachIndexListsItsSyllables) {
    const char* first[] = {"가", "나", "다", "라", "마", "바", "사",
                           "아", "자", "차", "카", "타", "파", "하"};
    for (const char* s : first) AddBook(Contact(std::string(s) + "씨", "친구"));
    AddBook(Contact("힣", "친구"));
    AddBook(Contact("Kim", "친구"));
    for (int i = 1; i <= 14; ++i) {
        ASSERT_TRUE(book_.SetIndex(i).ok());
        EXPECT_EQ(Names(book_), V{std::string(first[i - 1]) + "씨"}) << i;
    }
    ASSERT_TRUE(book_.SetIndex(0).ok());
    EXPECT_EQ(book_.GetRecordCount(), 16);
    ASSERT_TRUE(book_.SetIndex(15).ok());
    EXPECT_EQ(book_.AppliedFilter(), "");
}

TEST_P(ContactRecordSetTest, PartsJoinInOrderIndexGroupSearch) {
    AddBook(Contact("다나", "회사"));
    AddBook(Contact("다다", "가족"));
    AddBook(Contact("라다", "회사"));
    ASSERT_TRUE(book_.SetIndex(3).ok());
    ASSERT_TRUE(book_.SetGroup("회사").ok());
    ASSERT_TRUE(book_.SetSearch(1, "나").ok());
    EXPECT_EQ(book_.AppliedFilter(),
              "[Name] >= '다' AND [Name] < '라' AND [Group] = '회사' AND [Name] LIKE '*나*'");
    EXPECT_EQ(Names(book_), V{"다나"});
    ASSERT_TRUE(book_.SetGroup("").ok());
    ASSERT_TRUE(book_.SetSearch(0, "").ok());
    EXPECT_EQ(book_.AppliedFilter(), "[Name] >= '다' AND [Name] < '라'");
    EXPECT_EQ(Names(book_), (V{"다나", "다다"}));
}

TEST_P(ContactRecordSetTest, AddressSearchConditionsVerbatim) {
    AddBook(Contact("Kim", "회사", "021", "0107", "Acme"));
    ASSERT_TRUE(book_.SetSearch(1, "Ki").ok());
    EXPECT_EQ(book_.SearchCondition(), "[Name] LIKE '*Ki*'");
    EXPECT_EQ(book_.GetRecordCount(), 1);
    ASSERT_TRUE(book_.SetSearch(2, "acme").ok());
    EXPECT_EQ(book_.SearchCondition(), "[CompanyName] LIKE '*acme*'");
    EXPECT_EQ(book_.GetRecordCount(), 1);
    ASSERT_TRUE(book_.SetSearch(3, "107").ok());
    EXPECT_EQ(book_.SearchCondition(),
              "([HomePhone] LIKE '*107*' OR [CellPhone] LIKE '*107*' OR [CompanyPhone1] LIKE "
              "'*107*' OR [CompanyPhone2] LIKE '*107*')");
    EXPECT_EQ(book_.GetRecordCount(), 1);
    ASSERT_TRUE(book_.SetSearch(4, "x").ok());
    EXPECT_EQ(book_.SearchCondition(), "");
}

TEST_P(ContactRecordSetTest, InnerLineSearchConditionsVerbatim) {
    AddInner(Contact("Lee", "회사", "", "0109", "Sales", "204"));
    struct Case {
        int kind;
        const char* text;
        const char* condition;
    } cases[] = {
        {1, "Le", "[Name] LIKE '*Le*'"},
        {2, "sal", "[CompanyDepartment] LIKE '*sal*'"},
        {3, "20", "[CompanyInnerLine] LIKE '*20*'"},
        {4, "0109",
         "([HomePhone] LIKE '*0109*' OR [CellPhone] LIKE '*0109*' OR [CompanyPhone1] LIKE "
         "'*0109*' OR [CompanyPhone2] LIKE '*0109*')"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(inner_.SetSearch(c.kind, c.text).ok());
        EXPECT_EQ(inner_.SearchCondition(), c.condition);
        EXPECT_EQ(inner_.GetRecordCount(), 1) << c.condition;
    }
    ASSERT_TRUE(inner_.SetSearch(5, "x").ok());
    EXPECT_EQ(inner_.SearchCondition(), "");
}

TEST_P(ContactRecordSetTest, GroupConditionVerbatim) {
    AddBook(Contact("a", "가족"));
    AddBook(Contact("b", "친구"));
    ASSERT_TRUE(book_.SetGroup("가족").ok());
    EXPECT_EQ(book_.GroupCondition(), "[Group] = '가족'");
    EXPECT_EQ(Names(book_), V{"a"});
}

TEST_P(ContactRecordSetTest, QuotesAndWildCardsInSearchTextAreLiteral) {
    AddBook(Contact("O'Brien", "O'Brien's", "02*123"));
    AddBook(Contact("OBrien", "x", "021123"));
    ASSERT_TRUE(book_.SetSearch(1, "O'Brien").ok());
    EXPECT_EQ(book_.SearchCondition(), "[Name] LIKE '*O''Brien*'");
    EXPECT_EQ(Names(book_), V{"O'Brien"});
    ASSERT_TRUE(book_.SetSearch(0, "").ok());
    ASSERT_TRUE(book_.SetGroup("O'Brien's").ok());
    EXPECT_EQ(Names(book_), V{"O'Brien"});
    ASSERT_TRUE(book_.SetGroup("").ok());
    ASSERT_TRUE(book_.SetSearch(3, "2*1").ok());
    EXPECT_EQ(Names(book_), V{"O'Brien"});
    ASSERT_TRUE(book_.SetSearch(1, "' OR '1'='1").ok());
    EXPECT_EQ(book_.GetRecordCount(), 0);
}

TEST_P(ContactRecordSetTest, MatchNumberKeepsThePageList) {
    AddBook(Contact("First", "회사", "0212345678"));
    AddBook(Contact("Second", "회사", "", "0212345678"));
    AddBook(Contact("Hyphen", "가족", "02-1234-5679"));
    AddBook(Contact("Outside", "가족", "95551234"));
    AddBook(Contact("Short", "가족", "123"));
    ASSERT_TRUE(book_.SetGroup("가족").ok());
    long before = book_.GetRecordCount();

    EXPECT_EQ(book_.MatchNumber("0212345678", "").value(), "First");
    EXPECT_EQ(book_.MatchNumber("0212345679", "").value(), "Hyphen");
    EXPECT_EQ(book_.MatchNumber("0212345670", "").value(), "");
    EXPECT_EQ(book_.MatchNumber("5551234", "9").value(), "Outside");
    EXPECT_EQ(book_.MatchNumber("5551234", "").value(), "");
    EXPECT_EQ(book_.MatchNumber("0212345678", "9").value(), "First");
    EXPECT_EQ(book_.MatchNumber("123", "9").value(), "Short");
    EXPECT_EQ(book_.MatchNumber("12", "").value(), "");

    EXPECT_EQ(book_.GroupCondition(), "[Group] = '가족'");
    EXPECT_EQ(book_.AppliedFilter(), "[Group] = '가족'");
    EXPECT_EQ(book_.GetRecordCount(), before);
    EXPECT_TRUE(book_.IsEOF());
}

TEST_P(ContactRecordSetTest, FindNameMatchesAlikeAndLeavesTheSetOnTheMatch) {
    AddBook(Contact("First", "회사", "0212345678"));
    AddBook(Contact("Outside", "가족", "95551234"));
    EXPECT_EQ(book_.FindName("0212345678", "").value(), "First");
    EXPECT_EQ(book_.GetRecordCount(), 1) << "filtered on the number, not re-read whole";
    EXPECT_EQ(book_.FindName("5551234", "9").value(), "Outside");
    EXPECT_EQ(book_.FindName("0299999999", "").value(), "");
    EXPECT_EQ(book_.GetRecordCount(), 0);
    EXPECT_EQ(book_.FindName("12", "").value(), "");
    // A contact added meanwhile is found at the next lookup.
    AddBook(Contact("Late", "가족", "0311112222"));
    EXPECT_EQ(book_.FindName("0311112222", "").value(), "Late");
}

TEST_P(ContactRecordSetTest, InnerLineAlsoMatchesTheExtension) {
    AddBook(Contact("Book", "회사", "", "", "", "204"));
    AddInner(Contact("Desk", "회사", "", "", "", "204"));
    EXPECT_EQ(book_.MatchNumber("204", "").value(), "");
    EXPECT_EQ(inner_.MatchNumber("204", "").value(), "Desk");
    EXPECT_EQ(LookupName("204", "", book_, inner_).value(), "Desk");
}

TEST_P(ContactRecordSetTest, ContactBookNameWinsOverInnerLine) {
    AddBook(Contact("BookName", "회사", "0311112222"));
    AddInner(Contact("InnerName", "회사", "0311112222"));
    EXPECT_EQ(LookupName("0311112222", "", book_, inner_).value(), "BookName");
    EXPECT_EQ(LookupName("0399999999", "", book_, inner_).value(), "");
}

TEST_P(ContactRecordSetTest, StoreCurrentChangesTheFields) {
    AddBook(Contact("Old", "회사", "1"));
    ASSERT_TRUE(book_.ReApply().ok());
    ASSERT_TRUE(book_.MoveFirst().ok());
    ContactRecord c = book_.CurrentContact().value();
    *c.Field("Name") = "New";
    *c.Field("Notes") = "memo";
    ASSERT_TRUE(book_.StoreCurrent(c).ok());
    ASSERT_TRUE(book_.ReApply().ok());
    ASSERT_TRUE(book_.MoveFirst().ok());
    EXPECT_EQ(book_.CurrentContact().value().fields, c.fields);
}

TEST_P(ContactRecordSetTest, AddContactOpensAClosedSetAndRefusesOverlongFields) {
    CRSAddressList fresh;
    ASSERT_TRUE(fresh.AddContact(Contact("x", "y")).ok());
    EXPECT_TRUE(fresh.IsOpen());
    EXPECT_EQ(fresh.AddContact(Contact(std::string(256, 'n'), "y")).code(),
              storage::ErrorCode::InvalidValue);
    ASSERT_TRUE(book_.ReApply().ok());
    EXPECT_EQ(book_.GetRecordCount(), 1);
}

TEST(ContactRecordSetClosed, OperationsOnAClosedSetAreErrors) {
    vt::test::TestEnvironment env;
    CRSAddressList book;
    EXPECT_EQ(book.SetIndex(1).code(), storage::ErrorCode::NotOpen);
    EXPECT_FALSE(book.MatchNumber("0212345678", "").ok());
    EXPECT_FALSE(book.Open().ok());  // no database file yet
}

INSTANTIATE_TEST_SUITE_P(Engines, ContactRecordSetTest, test::kBothEngines, test::EngineName);

}  // namespace
}  // namespace vantelo
