#include <gtest/gtest.h>

#include "directory/LdapFilter.h"

namespace directory {
namespace {

TEST(LdapFilterTest, FilterCharactersAreOnlyEverValues) {
    const std::pair<std::string, std::string> table[] = {
        {"4567", "4567"},
        {"*", "\\2a"},
        {"(", "\\28"},
        {")", "\\29"},
        {"\\", "\\5c"},
        {std::string("a\0b", 3), "a\\00b"},
        {"*)(uid=*", "\\2a\\29\\28uid=\\2a"},
        {"김", "김"},  // UTF-8 stays as it is
    };
    for (const auto& [value, escaped] : table)
        EXPECT_EQ(EscapeFilterValue(value), escaped) << value;
}

TEST(LdapFilterTest, NumberFilterAsksForTheLastFourDigitsInEveryAttribute) {
    EXPECT_EQ(NumberFilter({"telephoneNumber", "mobile", "homePhone"}, "021234567"),
              "(|(telephoneNumber=*4567)(mobile=*4567)(homePhone=*4567))");
    EXPECT_EQ(NumberFilter({"telephoneNumber"}, "123"), "(|(telephoneNumber=*123))");
    // Whatever the number holds, the filter keeps its one OR of equalities.
    EXPECT_EQ(NumberFilter({"telephoneNumber"}, "12)(|(*"),
              "(|(telephoneNumber=*\\28|\\28\\2a))");
    EXPECT_EQ(NumberFilter({"telephoneNumber"}, "12\\*)"), "(|(telephoneNumber=*2\\5c\\2a\\29))");
    EXPECT_EQ(NumberFilter({"telephoneNumber"}, ""), "");
    EXPECT_EQ(NumberFilter({}, "021234567"), "");
}

}  // namespace
}  // namespace directory
