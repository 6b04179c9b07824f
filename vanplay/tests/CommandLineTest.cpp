#include <gtest/gtest.h>

#include "vanplay/CommandLine.h"

using vanplay::CommandLine;

namespace {

TEST(CommandLine, NoArgumentsPlaysNothing) {
    auto cl = CommandLine::Parse({});
    EXPECT_EQ(cl.mode, CommandLine::Mode::Play);
    EXPECT_TRUE(cl.file.empty());
}

TEST(CommandLine, TheWholeArgumentIsThePath) {
    EXPECT_EQ(CommandLine::Parse({"/rec/my call.vrc"}).file, "/rec/my call.vrc");
    // Unquoted by a caller: the words are joined back together.
    EXPECT_EQ(CommandLine::Parse({"/rec/my", "call.vrc"}).file, "/rec/my call.vrc");
    EXPECT_EQ(CommandLine::Parse({"--", "-odd.wav"}).file, "-odd.wav");
}

TEST(CommandLine, ToMp3TakesEveryFile) {
    auto cl = CommandLine::Parse({"--to-mp3", "a.vrc", "b c.wav"});
    EXPECT_EQ(cl.mode, CommandLine::Mode::ToMp3);
    EXPECT_EQ(cl.files, (std::vector<std::string>{"a.vrc", "b c.wav"}));
    EXPECT_EQ(CommandLine::Parse({"--to-mp3"}).mode, CommandLine::Mode::Error);
    EXPECT_EQ(CommandLine::Parse({"--help"}).mode, CommandLine::Mode::Help);
}

}  // namespace
