#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "usbline/AdapterIds.h"

using usbline::UsbId;

namespace {

TEST(AdapterIds, ParsesPairsCommentsAndRefusesTheRest) {
    struct Case {
        const char* text;
        std::vector<UsbId> ids;
        std::size_t problems;
    };
    const Case cases[] = {
        {"", {}, 0},
        {"# only a comment\n\n   \n", {}, 0},
        {"1234:5678\n", {{0x1234, 0x5678}}, 0},
        {"  0a5C:00fF  # a desk adapter\r\n", {{0x0a5c, 0x00ff}}, 0},
        {"1:2\n1234:5678\n1234:5678\n", {{0x0001, 0x0002}, {0x1234, 0x5678}}, 0},
        {"12345:5678\n", {}, 1},
        {"1234-5678\nzz12:0001\n1234:\n:5678\n1234:5678\n", {{0x1234, 0x5678}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> problems;
        EXPECT_EQ(usbline::ParseAdapterIds(c.text, "list", &problems), c.ids);
        EXPECT_EQ(problems.size(), c.problems);
    }
    std::vector<std::string> problems;
    usbline::ParseAdapterIds("1234:5678\nnope\n", "adapters.conf", &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              "adapters.conf:2: \"nope\"은(는) VID:PID 쌍(예: 1234:5678)이 아니어서 건너뜁니다");
}

TEST(AdapterIds, TheUsersListIsReadBesideTheSettings) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(usbline::AdapterIdFiles().front(), env.ConfigHome() / "Korvane" / "adapters.conf");
    std::filesystem::create_directories(env.ConfigHome() / "Korvane");
    std::ofstream(env.ConfigHome() / "Korvane" / "adapters.conf") << "abcd:0001\n";
    const auto ids = usbline::LoadAdapterIds();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), (UsbId{0xabcd, 0x0001}));
}

TEST(AdapterIds, TheUdevRuleGivesEachListedDeviceToTheDesktopsUser) {
    EXPECT_EQ(usbline::FormatUsbId({0x0A5C, 0x1}), "0a5c:0001");
    const std::string rule = usbline::UdevRuleText({{0x1234, 0x5678}, {0x0a5c, 0x0001}});
    EXPECT_NE(rule.find("SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", "
                        "ATTR{idVendor}==\"1234\", ATTR{idProduct}==\"5678\", TAG+=\"uaccess\"\n"),
              std::string::npos);
    EXPECT_NE(rule.find("ATTR{idVendor}==\"0a5c\", ATTR{idProduct}==\"0001\""), std::string::npos);
    const std::string empty = usbline::UdevRuleText({});
    EXPECT_EQ(empty.find("ATTR{"), std::string::npos);
}

}  // namespace
