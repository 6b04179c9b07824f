#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "directory/PhoneNumber.h"

namespace directory {
namespace {

struct Writings {
    std::string national;
    std::vector<std::string> written;
};

// Every writing of a row reaches the row's national form.
TEST(PhoneNumberTest, EveryWritingOfANumberReachesItsNationalForm) {
    const std::vector<Writings> table = {
        {"021234567",
         {"+82 2-123-4567", "02)123-4567", "02-123-4567", "(02) 123 4567", "021234567",
          "+8221234567", "+82 (0)2 123 4567", "+82 2 123 4567 ext. 12"}},
        {"0212345678", {"(02) 1234 5678", "02-1234-5678", "+82-2-1234-5678", "0212345678"}},
        {"01012345678",
         {"010.1234.5678", "010-1234-5678", "+82 10 1234 5678", "+82-10-1234-5678", "01012345678"}},
        {"0311112222", {"031-111-2222", "(031)111-2222", "+82 31 111 2222"}},
        {"15881234", {"1588-1234", "1588 1234", "+82 1588-1234"}},
        {"+16502530000", {"+1 650 253 0000", "+1 (650) 253-0000", "00700-1-650-253-0000"}},
        // Written with a country, though no number of its plan.
        {"+12125550100", {"+1-212-555-0100", "001-1-212-555-0100"}},
        {"01234", {"+82 1234", "+82-1234"}},
        // Not numbers of the plan: their digits as written.
        {"5551234", {"555-1234", "5551234"}},
        {"123", {"123", "(123)"}},
        {"*123#", {"*123#", "* 123 #"}},
    };
    for (const auto& row : table)
        for (const auto& text : row.written) EXPECT_EQ(NationalNumber(text), row.national) << text;
}

// Numbers that look alike but are not the same never meet.
TEST(PhoneNumberTest, DifferentNumbersStayApart) {
    const std::vector<std::pair<std::string, std::string>> apart = {
        {"02-123-4567", "031-123-4567"},  // another area
        {"02-123-4567", "02-123-4568"},
        {"+82 2-123-4567", "+1 2-123-4567"},  // another country
        {"010-1234-5678", "011-1234-5678"},
        {"02-123-4567", "123-4567"},  // the area code is part of the number
        {"5551234", "95551234"},
    };
    for (const auto& [a, b] : apart)
        EXPECT_NE(NationalNumber(a), NationalNumber(b)) << a << " / " << b;
    for (const char* nothing : {"", "abc", "()-. ", "없음"}) EXPECT_EQ(NationalNumber(nothing), "");
}

}  // namespace
}  // namespace directory
