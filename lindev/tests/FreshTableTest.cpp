// The table as loaded: this program never opens an adapter.
#include <gtest/gtest.h>

#include "lindev/lindev.h"

TEST(FreshTable, VersionsAreZeroBeforeAnyOpen) {
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(TY_GetHW_Version(slot), 0);
        EXPECT_EQ(TY_GetFW_Version(slot), 0);
        EXPECT_EQ(TY_GetToneState(slot), 0);
    }
}

TEST(FreshTable, NoCallerIdBeforeAnyCall) {
    BSTR record = TY_GetCIDData(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(SysStringByteLen(record), 0u);
    SysFreeString(record);
}
