#include "platform/SysString.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SysString, HoldsAnyBytesWithLengthAndTrailingNul) {
    const char data[] = {'1', '2', '\x02', '\0', '9'};
    BSTR s = SysAllocStringByteLen(data, sizeof data);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringByteLen(s), sizeof data);
    EXPECT_EQ(std::memcmp(s, data, sizeof data), 0);
    EXPECT_EQ(s[sizeof data], '\0');
    SysFreeString(s);
}

TEST(SysString, NullDataIsZeroFilledAndNullIsSafe) {
    BSTR s = SysAllocStringByteLen(nullptr, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringByteLen(s), 3u);
    EXPECT_EQ(s[0], '\0');
    SysFreeString(s);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR empty = SysAllocStringByteLen("", 0);
    EXPECT_EQ(SysStringByteLen(empty), 0u);
    EXPECT_STREQ(empty, "");
    SysFreeString(empty);
}
