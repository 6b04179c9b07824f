#include <gtest/gtest.h>

#include "callerid/ServerAddress.h"

namespace callerid {
namespace {

TEST(ServerAddress, GoodValuesListenWhereTheySay) {
    struct Case {
        const char* value;
        const char* text;
    };
    const Case cases[] = {
        {"3333", "127.0.0.1:3333"},  // no address: this machine only
        {" 3333 ", "127.0.0.1:3333"},
        {"127.0.0.1:3333", "127.0.0.1:3333"},
        {"localhost:4000", "127.0.0.1:4000"},
        {"0.0.0.0:3333", "0.0.0.0:3333"},
        {"192.168.1.20:65535", "192.168.1.20:65535"},
        {"[::1]:3333", "[::1]:3333"},
        {"[::]:1", "[::]:1"},
    };
    for (const auto& c : cases) {
        const auto address = ServerAddress::Parse(c.value);
        ASSERT_TRUE(address) << c.value;
        EXPECT_EQ(address->text, c.text);
        EXPECT_GT(address->length, 0u);
    }
}

TEST(ServerAddress, BadValuesAreRefused) {
    for (const char* value : {"", "  ", "abc", "0", "70000", "127.0.0.1:0", "127.0.0.1:", ":3333",
                              "127.0.0.1:33a", "pbx.example.org:3333", "::1:3333", "[::1]3333",
                              "[127.0.0.1]:3333", "1.2.3:3333", "127.0.0.1:-1", "[::1]:"}) {
        EXPECT_FALSE(ServerAddress::Parse(value)) << value;
    }
}

}  // namespace
}  // namespace callerid
