// vCards of both versions as other programs write them, and the 3.0 cards
// this program writes.
#include <gtest/gtest.h>

#include <sstream>

#include "vcard/VCard.h"

namespace vcard {
namespace {

std::vector<ContactFields> Parse(const std::string& text) {
    std::vector<ContactFields> cards;
    std::string error;
    EXPECT_TRUE(VCard::Parse(text, cards, error)) << error;
    return cards;
}

TEST(VCardTest, ReadsVersionThreeWithFoldingEscapesAndKinds) {
    const auto cards = Parse(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:홍;길동;;;\r\nFN:홍길동\r\n"
        "ORG:반텔로\\, 주식회사;개발부\r\nTITLE:과장\r\nCATEGORIES:친구,회사\r\n"
        "TEL;TYPE=HOME,VOICE:02-123-4567\r\nTEL;TYPE=CELL:010-1111-2222\r\n"
        "TEL;TYPE=WORK,VOICE:031-1\r\nTEL;TYPE=WORK:031-2\r\nTEL;TYPE=WORK,FAX:031-9\r\n"
        "item1.ADR;TYPE=HOME:;;서울시 중구\\n1번지;서울;;04500;대한민국\r\n"
        "ADR;TYPE=WORK:;;판교로 1;성남;;;\r\n"
        "EMAIL;TYPE=INTERNET:hong@ex\r\n .kr\r\nURL:https://ex.kr\r\n"
        "X-VANTELO-INNERLINE:123\r\nEND:VCARD\r\n");
    ASSERT_EQ(cards.size(), 1u);
    const ContactFields& c = cards[0];
    EXPECT_EQ(c[0], "홍길동");
    EXPECT_EQ(c[1], "친구");
    EXPECT_EQ(c[2], "02-123-4567");
    EXPECT_EQ(c[3], "서울시 중구\n1번지 서울 04500 대한민국");
    EXPECT_EQ(c[4], "010-1111-2222");
    EXPECT_EQ(c[5], "반텔로, 주식회사");
    EXPECT_EQ(c[6], "개발부");
    EXPECT_EQ(c[7], "과장");
    EXPECT_EQ(c[8], "판교로 1 성남");
    EXPECT_EQ(c[9], "");
    EXPECT_EQ(c[10], "031-1");
    EXPECT_EQ(c[11], "031-2");
    EXPECT_EQ(c[12], "123");
    EXPECT_EQ(c[13], "031-9");
    EXPECT_EQ(c[14], "hong@ex.kr");  // a folded line joins again
    EXPECT_EQ(c[15], "https://ex.kr");
}

TEST(VCardTest, ReadsVersionFourAndCardsWithoutKinds) {
    const auto cards = Parse(
        "BEGIN:VCARD\nVERSION:4.0\nFN:Jane Doe\nTEL;VALUE=uri;TYPE=\"voice,cell\":tel:+82-10-1\n"
        "TEL;VALUE=uri;TYPE=work:tel:+82-2-2\nEMAIL;PREF=1:jane@ex\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nN:Kim;Su;;;\nTEL:111\nTEL:222\nEND:VCARD\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0][0], "Jane Doe");
    EXPECT_EQ(cards[0][4], "+82-10-1");
    EXPECT_EQ(cards[0][10], "+82-2-2");
    EXPECT_EQ(cards[0][14], "jane@ex");
    // No FN: the name comes from N; telephones without a kind fill home, then mobile.
    EXPECT_EQ(cards[1][0], "Su Kim");
    EXPECT_EQ(cards[1][2], "111");
    EXPECT_EQ(cards[1][4], "222");
}

TEST(VCardTest, RefusesTextWithoutCardsOrNotInUtf8) {
    std::vector<ContactFields> cards;
    std::string error;
    EXPECT_FALSE(VCard::Parse("Name,Phone\nKim,1\n", cards, error));
    EXPECT_EQ(error, "파일에 vCard가 없습니다");
    EXPECT_FALSE(VCard::Parse("BEGIN:VCARD\nFN:\xB1\xE8\nEND:VCARD\n", cards, error));
    EXPECT_EQ(error, "파일이 UTF-8 텍스트가 아닙니다");
    EXPECT_FALSE(
        VCard::Parse("BEGIN:VCARD\nFN:Kim\nEND:VCARD\nBEGIN:VCARD\nFN:Lee\n", cards, error));
    EXPECT_EQ(error, "파일이 잘렸습니다: 마지막 vCard에 END:VCARD가 없습니다");
}

TEST(VCardTest, WrittenCardsAreVersionThreeWithShortLines) {
    ContactFields c{};
    c[0] = std::string(40, 'x') + "가나다라마바사아자차카타파하";  // 82 bytes of name
    c[13] = "0212345678";
    const std::string text = VCard::CardText(c);
    EXPECT_EQ(text.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 76u) << line;  // 75 bytes and the CR
        EXPECT_EQ(line.back(), '\r');
    }
    EXPECT_NE(text.find("TEL;TYPE=WORK,FAX:0212345678\r\n"), std::string::npos);
    const auto back = Parse(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], c);
}

// A card another program wrote, with properties that have no field.
const std::string kForeignCard =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:abc-1\r\nN:Kim;Su;;;\r\nFN:Su Kim\r\n"
    "ORG:Korvane;Sales;East\r\nCATEGORIES:친구,골프\r\n"
    "TEL;TYPE=CELL,PREF:010-1\r\nTEL;TYPE=PAGER:015-9\r\n"
    "EMAIL:su@ex.kr\r\nEMAIL:su2@ex.kr\r\nNOTE:met in Busan\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:"
    "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5eg==\r\n"
    " AAAA\r\nEND:VCARD\r\n";

TEST(VCardTest, AMergeChangesOnlyTheLinesOfChangedFields) {
    const auto base = Parse(kForeignCard);
    ASSERT_EQ(base.size(), 1u);
    struct Case {
        const char* what;
        int field;
        std::string value;
        std::vector<std::string> present, absent;
    };
    const std::vector<Case> cases = {
        {"nothing changed", -1, "", {kForeignCard}, {}},
        {"mobile", 4, "010-2", {"TEL;TYPE=CELL,PREF:010-2\r\n", "TEL;TYPE=PAGER:015-9"}, {"010-1"}},
        {"name", 0, "Su-Jin Kim", {"FN:Su-Jin Kim\r\n", "N:Su-Jin Kim;;;;\r\n"}, {"Kim;Su"}},
        {"department", 6, "Support", {"ORG:Korvane;Support;East\r\n"}, {"Sales"}},
        {"group", 1, "가족", {"CATEGORIES:가족,골프\r\n"}, {"친구"}},
        {"first e-mail", 14, "new@ex.kr", {"EMAIL:new@ex.kr\r\nEMAIL:su2@ex.kr\r\n"}, {"su@ex.kr"}},
        {"home number emptied", 2, "", {"TEL;TYPE=CELL"}, {"015-9", "PAGER"}},
        {"a new fax", 13, "02-9", {"TEL;TYPE=WORK,FAX:02-9\r\nEND:VCARD"}, {}},
    };
    for (const Case& c : cases) {
        ContactFields fields = base[0];
        if (c.field >= 0)
            fields[c.field] = c.value;
        const std::string merged = VCard::Merge(kForeignCard, fields);
        for (const auto& p : c.present)
            EXPECT_NE(merged.find(p), std::string::npos) << c.what << ": " << p << "\n" << merged;
        for (const auto& a : c.absent)
            EXPECT_EQ(merged.find(a), std::string::npos) << c.what << ": " << a;
        // What has no field is kept, byte for byte, folds included.
        for (const char* kept : {"UID:abc-1\r\n", "NOTE:met in Busan\r\n", "\r\n AAAA\r\n"})
            EXPECT_NE(merged.find(kept), std::string::npos) << c.what << ": " << kept;
        const auto back = Parse(merged);
        ASSERT_EQ(back.size(), 1u) << c.what;
        EXPECT_EQ(back[0], fields) << c.what;
    }
}

TEST(VCardTest, SetPropertyReplacesOrAddsOneLine) {
    const std::string card = VCard::CardText(ContactFields{"Lee"});
    const std::string withUid = VCard::SetProperty(card, "UID", "u-1");
    EXPECT_NE(withUid.find("VERSION:3.0\r\nUID:u-1\r\n"), std::string::npos) << withUid;
    const std::string again = VCard::SetProperty(withUid, "UID", "u-2");
    EXPECT_EQ(again.find("u-1"), std::string::npos);
    EXPECT_NE(again.find("UID:u-2\r\n"), std::string::npos);
    EXPECT_EQ(again.size(), withUid.size());
}

}  // namespace
}  // namespace vcard
