// tel: and callto: links as desktops hand them over: the number to dial or
// one line saying why there is none.

#include "vantelo/app/TelLink.h"

#include <gtest/gtest.h>

namespace vantelo {
namespace {

std::string Dialled(const std::string& link) {
    std::string number, error;
    EXPECT_TRUE(TelLink::Number(link, number, error)) << link << ": " << error;
    return number;
}

std::string Refusal(const std::string& link) {
    std::string number, error;
    EXPECT_FALSE(TelLink::Number(link, number, error)) << link << " gave " << number;
    return error;
}

TEST(TelLinkTest, RecognisesBothSchemesInAnyCase) {
    EXPECT_TRUE(TelLink::IsLink("tel:123"));
    EXPECT_TRUE(TelLink::IsLink("TEL:123"));
    EXPECT_TRUE(TelLink::IsLink("callto:123"));
    EXPECT_TRUE(TelLink::IsLink("CallTo://123"));
    EXPECT_FALSE(TelLink::IsLink("--dial"));
    EXPECT_FALSE(TelLink::IsLink("mailto:a@b"));
    EXPECT_FALSE(TelLink::IsLink("tel"));
}

TEST(TelLinkTest, GlobalNumbersOfThisCountryAreDialledAsDomestic) {
    EXPECT_EQ(Dialled("tel:+82-2-1234-5678"), "0212345678");
    EXPECT_EQ(Dialled("tel:+82.31.555.0000"), "0315550000");
    EXPECT_EQ(Dialled("callto:+82 (0)2 1234 5678"), "0212345678");
    EXPECT_EQ(Dialled("tel:+82-10-9876-5432"), "01098765432");
}

TEST(TelLinkTest, OtherCountriesGetTheInternationalPrefix) {
    EXPECT_EQ(Dialled("tel:+1-212-555-0100"), "00112125550100");
    EXPECT_EQ(Dialled("tel:+44(20)79460000"), "001442079460000");
}

TEST(TelLinkTest, LocalNumbersAreDialledAsWrittenWithoutSeparators) {
    EXPECT_EQ(Dialled("tel:02-1234-5678"), "0212345678");
    EXPECT_EQ(Dialled("tel:1234;phone-context=+82-2"), "1234");
    EXPECT_EQ(Dialled("tel:*23#"), "*23#");
    EXPECT_EQ(Dialled("callto://0212345678/"), "0212345678");
}

TEST(TelLinkTest, EscapesAreDecodedAndParametersAndQueriesDropped) {
    EXPECT_EQ(Dialled("tel:%2B82%2D2%2D1234%2D5678"), "0212345678");
    EXPECT_EQ(Dialled("tel:%2b82%202%201234%205678"), "0212345678");
    EXPECT_EQ(Dialled("tel:+82-2-1234-5678;ext=101"), "0212345678");
    EXPECT_EQ(Dialled("tel:+82-2-1234-5678;isub=12;phone-context=x"), "0212345678");
    EXPECT_EQ(Dialled("callto:0212345678?call"), "0212345678");
    EXPECT_EQ(Dialled("tel:%2A23%23"), "*23#");
}

TEST(TelLinkTest, LinksWithoutAUsableNumberAreRefusedWithOneLine) {
    EXPECT_EQ(Refusal("tel:"), "링크에 전화번호가 없습니다: tel:");
    EXPECT_EQ(Refusal("tel:abc"), "링크에 전화번호가 없습니다: tel:abc");
    EXPECT_EQ(Refusal("callto:someone"), "링크에 전화번호가 없습니다: callto:someone");
    EXPECT_EQ(Refusal("tel:;ext=1"), "링크에 전화번호가 없습니다: tel:;ext=1");
    EXPECT_EQ(Refusal("tel:+"), "링크에 전화번호가 없습니다: tel:+");
    EXPECT_EQ(Refusal("tel:+8"), "링크에 전화번호가 없습니다: tel:+8");
    EXPECT_EQ(Refusal("tel:++821234"), "링크에 전화번호가 없습니다: tel:++821234");
    EXPECT_EQ(Refusal("tel:12+34"), "링크에 전화번호가 없습니다: tel:12+34");
    EXPECT_EQ(Refusal("tel:+82*1234"), "링크에 전화번호가 없습니다: tel:+82*1234");
    EXPECT_EQ(Refusal("tel:0212345678%0A"), "링크에 전화번호가 없습니다: tel:0212345678%0A");
    EXPECT_EQ(Refusal("tel:12%3"), "링크의 %-이스케이프가 잘못되었습니다: tel:12%3");
    EXPECT_EQ(Refusal("tel:12%zz"), "링크의 %-이스케이프가 잘못되었습니다: tel:12%zz");
    EXPECT_EQ(Refusal("mailto:a@b"), "tel: 또는 callto: 링크가 아닙니다: mailto:a@b");
    EXPECT_EQ(Refusal("tel:" + std::string(49, '1')), "번호가 48자보다 깁니다");
    EXPECT_EQ(Dialled("tel:" + std::string(48, '1')), std::string(48, '1'));
}

}  // namespace
}  // namespace vantelo
