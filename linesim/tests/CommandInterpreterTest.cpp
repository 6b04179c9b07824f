// The control language: spelling, answers and refusals.
#include <gtest/gtest.h>

#include "linesim/CommandInterpreter.h"
#include "linesim/ManualTimeSource.h"
#include "usbline/AdapterProtocol.h"

namespace linesim {
namespace {

namespace status = usbline::protocol::status;

class CommandInterpreterTest : public ::testing::Test {
protected:
    std::shared_ptr<ManualTimeSource> time_ = std::make_shared<ManualTimeSource>();
    Model model_{time_};
    std::vector<bool> plugCalls_;
    vt::FixedClock clock_ = vt::FixedClock::At(2024, 3, 9, 14, 5, 0);
    CommandInterpreter interpreter_{model_,
                                    [this](bool plugged) {
                                        plugCalls_.push_back(plugged);
                                        return std::string();
                                    },
                                    clock_};

    std::string Run(const std::string& line) { return interpreter_.Execute(line); }
};

TEST_F(CommandInterpreterTest, RingWithCadenceAndStop) {
    EXPECT_EQ(Run("ring 800 400 2"), "OK");
    EXPECT_TRUE(model_.StatusWord().value() & status::kRing);
    EXPECT_EQ(Run("ring stop"), "OK");
    EXPECT_FALSE(model_.StatusWord().value() & status::kRing);
    EXPECT_EQ(Run("ring stop"), "ERR not ringing");
    EXPECT_EQ(Run("ring"), "OK");
    EXPECT_EQ(Run("ring 10 10").rfind("ERR ", 0), 0u);
    EXPECT_EQ(Run("ring 1000").rfind("ERR usage", 0), 0u);
}

TEST_F(CommandInterpreterTest, CallerIdDatedByTheClockWhenNoDateIsGiven) {
    EXPECT_EQ(Run("cid 0212345678"), "OK");
    std::vector<std::uint8_t> reply(26);
    ASSERT_TRUE(model_.VendorRequest(true, 0x61, 0, 0, 26, reply.data()));
    EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 12), "03091405");
    EXPECT_EQ(std::string(reply.begin() + 14, reply.begin() + 24), "0212345678");
    EXPECT_EQ(Run("cid 01 12071230"), "OK");
    EXPECT_EQ(Run("cid 01 1207123").rfind("ERR ", 0), 0u);
}

TEST_F(CommandInterpreterTest, CallerIdRefusesWhatTheMessageCannotHold) {
    EXPECT_EQ(Run("cid 123456789012 12071230"), "OK");
    EXPECT_EQ(Run("cid 1234567890123 12071230").rfind("ERR number longer than 12 digits", 0), 0u);
    std::vector<std::uint8_t> reply(26);
    ASSERT_TRUE(model_.VendorRequest(true, 0x61, 0, 0, 26, reply.data()));
    EXPECT_EQ(reply[13], 12);  // the twelve digits, not a cut thirteen
    EXPECT_EQ(std::string(reply.begin() + 14, reply.end()), "123456789012");
}

TEST_F(CommandInterpreterTest, CallerIdWithoutDateOrWithAWithheldNumber) {
    EXPECT_EQ(Run("cid 0212345678 nodate"), "OK");
    std::vector<std::uint8_t> reply(26);
    ASSERT_TRUE(model_.VendorRequest(true, 0x61, 0, 0, 26, reply.data()));
    EXPECT_EQ(reply[0], 0x80);
    EXPECT_EQ(reply[1], 12);    // the number parameter alone
    EXPECT_EQ(reply[2], 0x02);
    EXPECT_EQ(reply[3], 10);
    EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 14), "0212345678");

    EXPECT_EQ(Run("cid withheld 12071230"), "OK");
    ASSERT_TRUE(model_.VendorRequest(true, 0x61, 0, 0, 26, reply.data()));
    EXPECT_EQ(reply[1], 12);    // date parameter and an empty number
    EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 12), "12071230");
    EXPECT_EQ(reply[12], 0x02);
    EXPECT_EQ(reply[13], 0);
    EXPECT_EQ(Run("cid 12345678901234567890123 nodate").rfind("ERR ", 0), 0u);
}

TEST_F(CommandInterpreterTest, HookToneAndCallCommands) {
    EXPECT_EQ(Run("handset up"), "OK");
    EXPECT_EQ(Run("status").rfind("OK 0x0110 hook=off adapter=on handset=up call=dialtone", 0), 0u);
    EXPECT_EQ(Run("tone busy1"), "OK");
    EXPECT_NE(Run("status").find("tone=busy1"), std::string::npos);
    EXPECT_EQ(Run("tone loud").rfind("ERR usage", 0), 0u);
    EXPECT_EQ(Run("dial 0212"), "OK");
    time_->Advance(1500);
    EXPECT_EQ(Run("answer"), "OK");
    EXPECT_EQ(Run("hangup"), "OK");
    EXPECT_NE(Run("status").find("call=farhungup tone=busy2"), std::string::npos);
    EXPECT_EQ(Run("handset down"), "OK");
    EXPECT_EQ(Run("hangup"), "ERR no call");
    EXPECT_EQ(Run("handset sideways").rfind("ERR usage", 0), 0u);
}

TEST_F(CommandInterpreterTest, KeysArsHeadsetVersionSpeed) {
    EXPECT_EQ(Run("dtmf 12#"), "OK");
    EXPECT_EQ(Run("dtmf 1 50 60"), "OK");
    EXPECT_EQ(Run("dtmf 1 5").rfind("ERR ", 0), 0u);
    EXPECT_EQ(Run("dtmf 1x").rfind("ERR not a key", 0), 0u);
    EXPECT_EQ(Run("arskey on"), "OK");
    EXPECT_TRUE(model_.GetState().arsKey);
    EXPECT_EQ(Run("arskey off"), "OK");
    EXPECT_EQ(Run("headset 2"), "OK");
    EXPECT_EQ(model_.GetState().headsetLocation, 2);
    EXPECT_EQ(Run("headset 3").rfind("ERR usage", 0), 0u);
    EXPECT_EQ(Run("version 4 2"), "OK");
    EXPECT_EQ(model_.GetState().hardware, 4);
    EXPECT_EQ(Run("version 300 2").rfind("ERR usage", 0), 0u);
    EXPECT_EQ(Run("speed 8"), "OK");
    EXPECT_EQ(model_.GetState().speed, 8u);
    EXPECT_EQ(Run("speed 0").rfind("ERR usage", 0), 0u);
}

TEST_F(CommandInterpreterTest, PlugCommandsGoToTheHost) {
    EXPECT_EQ(Run("unplug"), "OK");
    EXPECT_EQ(Run("plug"), "OK");
    EXPECT_EQ(plugCalls_, (std::vector<bool>{false, true}));
}

TEST_F(CommandInterpreterTest, LogAnswersCountedLines) {
    EXPECT_EQ(Run("log"), "OK 0 lines");
    model_.VendorRequest(true, 0x60, 0, 0, 0, nullptr);
    EXPECT_EQ(Run("log"), "OK 1 lines\nVENDOR_READ 0x60 value=0x0000 index=0x0000 length=0 data=");
    EXPECT_EQ(Run("log clear"), "OK");
    EXPECT_EQ(Run("log"), "OK 0 lines");
}

TEST_F(CommandInterpreterTest, UnknownAndEmptyCommands) {
    EXPECT_EQ(Run("explode"), "ERR unknown command: explode");
    EXPECT_EQ(Run("   "), "ERR empty command");
}

TEST_F(CommandInterpreterTest, WordsThatFitNoFormAnswerTheUsage) {
    const std::string unknown = "ERR unknown command: ";
    const struct {
        const char* line;
        std::string answer;
    } cases[] = {
        {"ring 1000", "ERR usage: ring [ON_MS OFF_MS [COUNT]] | ring stop"},
        {"ring 1 2 3 4", "ERR usage: ring [ON_MS OFF_MS [COUNT]] | ring stop"},
        {"cid", "ERR usage: cid NUMBER|withheld [MMDDhhmm|nodate]"},
        {"cid 1 2 3", "ERR usage: cid NUMBER|withheld [MMDDhhmm|nodate]"},
        {"dtmf 1 2 3 4", "ERR usage: dtmf DIGITS [ON_MS [OFF_MS]]"},
        {"tone dial x", "ERR usage: tone dial|ringback|busy1|busy2|off"},
        {"handset", "ERR usage: handset up|down"},
        {"dial 1 2", "ERR usage: dial DIGITS"},
        {"arskey maybe", "ERR usage: arskey on|off"},
        {"reverse off 1", "ERR usage: reverse on|off"},
        {"headset", "ERR usage: headset 1|2"},
        {"log foo", "ERR usage: log | log clear"},
        {"log clear now", "ERR usage: log | log clear"},
        {"version 4", "ERR usage: version HW FW (0..255 each)"},
        {"speed 101", "ERR usage: speed N (1..100)"},
        {"audio a b", "ERR usage: audio FILE|off"},
        {"mic", "ERR usage: mic FILE|tone|off"},
        {"capture", "ERR usage: capture FILE|off"},
        // Commands without words are not known with words after them.
        {"answer now", unknown + "answer"},
        {"hangup now", unknown + "hangup"},
        {"unplug now", unknown + "unplug"},
        {"plug now", unknown + "plug"},
        {"status extra", unknown + "status"},
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.line), c.answer) << c.line;
    EXPECT_TRUE(plugCalls_.empty());
}

TEST_F(CommandInterpreterTest, EveryFormOfTheHelpNamesACommand) {
    const std::vector<std::string> forms = CommandInterpreter::Forms();
    EXPECT_EQ(forms.front(), "ring [ON_MS OFF_MS [COUNT]]");
    EXPECT_EQ(forms.back(), "capture FILE|off");
    for (const std::string& form : forms) {
        const std::string name = form.substr(0, form.find(' '));
        EXPECT_NE(Run(name).rfind("ERR unknown command", 0), 0u) << form;
    }
}

TEST(CommandInterpreterWithoutPlug, UnplugAndPlugAreRefused) {
    Model model{std::make_shared<ManualTimeSource>()};
    CommandInterpreter interpreter{model, nullptr};
    for (const char* line : {"unplug", "plug"})
        EXPECT_EQ(interpreter.Execute(line), "ERR this adapter cannot be unplugged") << line;
    EXPECT_TRUE(model.IsPlugged());
}

}  // namespace
}  // namespace linesim
