// What the phone controller tells a line watcher (the network caller-ID
// server's feed) through the roads of a call.

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/LineWatcher.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::test {
namespace {

class RecordingWatcher : public LineWatcher {
public:
    std::vector<std::string> events;

    void Rang() override { events.push_back("rang"); }
    void CallerIdArrived(const std::string& number, const std::string& name,
                         bool blocked) override {
        events.push_back("caller [" + number + "] [" + name + "]" + (blocked ? " blocked" : ""));
    }
    void RingingStopped(bool answered) override {
        events.push_back(answered ? "answered" : "ringing stopped");
    }
    void HungUp() override { events.push_back("hung up"); }
    void NewMessagesChanged(int count) override {
        events.push_back("messages " + std::to_string(count));
    }
};

TEST_F(Phone, TheLineWatcherHearsEachRoadOfACall) {
    struct Case {
        const char* name;
        std::function<void()> call;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"answered and hung up",
         [&] {
             Ring("0212345678");
             phone_->HookButton();
             Deliver();
             Advance(3000);
             phone_->HookButton();
             Deliver();
         },
         {"rang", "caller [0212345678] [홍길동]", "answered", "hung up"}},
        {"missed, the caller ID before the ring",
         [&] {
             line_.cid = std::string("12080900") + char(10) + "0311112222";
             Post(WM_TY_CIDREDAY);
             Post(WM_TY_RINGDETECTED);
             Post(WM_TY_RINGDETECTED);
             RingEnd();
         },
         {"caller [0311112222] []", "rang", "rang", "ringing stopped"}},
        {"a caller kept out by a rule",
         [&] {
             ScreeningRule rule;
             rule.pattern = "0399999999";
             rule.kind = RuleKind::Block;
             rule.action = BlockAction::Ignore;
             CRSBlockList list(env_.AppHome() / kDatabaseFileName);
             ASSERT_TRUE(list.Add(rule).ok());
             Ring("0399999999");
             RingEnd();
         },
         {"rang", "caller [0399999999] [] blocked", "ringing stopped"}},
        {"an outgoing call",
         [&] {
             phone_->SetDialNumber("0212345678");
             phone_->HookButton();
             Deliver();
             Advance(2000);
             phone_->HookButton();
             Deliver();
         },
         {"hung up"}},
    };
    StartPhone();
    AddContact("홍길동", "0212345678");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWatcher watcher;
        phone_->SetLineWatcher(&watcher);
        c.call();
        phone_->SetLineWatcher(nullptr);
        EXPECT_EQ(watcher.events, c.events);
        Advance(60000);  // the next call starts on an idle line
    }
}

}  // namespace
}  // namespace vantelo::test
