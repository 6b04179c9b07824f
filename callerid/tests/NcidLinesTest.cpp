#include <gtest/gtest.h>

#include "callerid/NcidLines.h"

namespace callerid {
namespace {

const vt::LocalTime kAt{2026, 3, 7, 9, 5, 4};

TEST(NcidLines, CallLinesCarryTheFieldsInTheProtocolsOrder) {
    struct Case {
        const char* type;
        CallInfo call;
        const char* line;
    };
    const Case cases[] = {
        {"CID",
         {kAt, "desk-1", "0212345678", "홍길동"},
         "CID: *DATE*03072026*TIME*0905*LINE*desk-1*NMBR*0212345678*MESG*NONE*NAME*홍길동*"},
        {"CIDLOG",
         {{2025, 12, 31, 23, 59, 59}, "front", "01099998888", ""},
         "CIDLOG: *DATE*12312025*TIME*2359*LINE*front*NMBR*01099998888*MESG*NONE*NAME*NO NAME*"},
        // A withheld caller has no number.
        {"CID",
         {kAt, "d", "", ""},
         "CID: *DATE*03072026*TIME*0905*LINE*d*NMBR*PRIVATE*MESG*NONE*NAME*NO NAME*"},
        {"BLK",
         {kAt, "d", "0311112222", "광고"},
         "BLK: *DATE*03072026*TIME*0905*LINE*d*NMBR*0311112222*MESG*NONE*NAME*광고*"},
        // Separators and line breaks in the data cannot forge fields or lines.
        {"CID",
         {kAt, "a*b", "02*1", "x\r\nCID: *NAME*evil"},
         "CID: *DATE*03072026*TIME*0905*LINE*a-b*NMBR*02-1*MESG*NONE*NAME*x  CID: -NAME-evil*"},
    };
    for (const auto& c : cases) EXPECT_EQ(lines::Call(c.type, c.call), c.line);
}

TEST(NcidLines, RingAndMessageLines) {
    EXPECT_EQ(lines::RingInfo("desk", 1, kAt), "CIDINFO: *LINE*desk*RING*1*TIME*09:05:04*");
    EXPECT_EQ(lines::RingInfo("desk", 0, kAt), "CIDINFO: *LINE*desk*RING*0*TIME*09:05:04*");
    EXPECT_EQ(lines::RingInfo("desk", -2, kAt), "CIDINFO: *LINE*desk*RING*-2*TIME*09:05:04*");
    EXPECT_EQ(lines::MessageWaiting("desk", 2, kAt),
              "MWI: *DATE*03072026*TIME*0905*LINE*desk*NMBR*2*MESG*SET*NAME*MESSAGE WAITING*");
    EXPECT_EQ(lines::MessageWaiting("desk", 0, kAt),
              "MWI: *DATE*03072026*TIME*0905*LINE*desk*NMBR*0*MESG*CLEAR*NAME*NO MESSAGES*");
}

TEST(NcidLines, StartUpLinesHaveTheirCodes) {
    EXPECT_EQ(lines::Greeting().rfind("200 ", 0), 0u);
    EXPECT_EQ(lines::ApiVersion().rfind("210 API: ", 0), 0u);
    EXPECT_EQ(lines::EndOfLog(false), "250 End of call log");
    EXPECT_EQ(lines::EndOfLog(true), "252 Call log empty");
    EXPECT_EQ(lines::EndOfStartup().rfind("300 ", 0), 0u);
}

}  // namespace
}  // namespace callerid
