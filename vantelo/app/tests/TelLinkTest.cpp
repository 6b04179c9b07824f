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
    EXPECT_EQ(Refusal("tel:"), "the link holds no telephone number: tel:");
    EXPECT_EQ(Refusal("tel:abc"), "the link holds no telephone number: tel:abc");
    EXPECT_EQ(Refusal("callto:someone"), "the link holds no telephone number: callto:someone");
    EXPECT_EQ(Refusal("tel:;ext=1"), "the link holds no telephone number: tel:;ext=1");
    EXPECT_EQ(Refusal("tel:+"), "the link holds no telephone number: tel:+");
    EXPECT_EQ(Refusal("tel:+8"), "the link holds no telephone number: tel:+8");
    EXPECT_EQ(Refusal("tel:++821234"), "the link holds no telephone number: tel:++821234");
    EXPECT_EQ(Refusal("tel:12+34"), "the link holds no telephone number: tel:12+34");
    EXPECT_EQ(Refusal("tel:+82*1234"), "the link holds no telephone number: tel:+82*1234");
    EXPECT_EQ(Refusal("tel:0212345678%0A"), "the link holds no telephone number: tel:0212345678%0A");
    EXPECT_EQ(Refusal("tel:12%3"), "broken %-escape in the link: tel:12%3");
    EXPECT_EQ(Refusal("tel:12%zz"), "broken %-escape in the link: tel:12%zz");
    EXPECT_EQ(Refusal("mailto:a@b"), "not a tel: or callto: link: mailto:a@b");
    EXPECT_EQ(Refusal("tel:" + std::string(49, '1')), "the number is longer than 48 characters");
    EXPECT_EQ(Dialled("tel:" + std::string(48, '1')), std::string(48, '1'));
}

}  // namespace
}  // namespace vantelo
