// The headless program's lines, spelled as scripts read them.

#include <gtest/gtest.h>

#include <cstdio>

#include "vantelo/app/HeadlessView.h"

namespace vantelo {
namespace {

std::string Printed(const std::function<void(HeadlessView&)>& act) {
    std::FILE* f = std::tmpfile();
    HeadlessView view(f);
    act(view);
    std::rewind(f);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, f)) out += buffer;
    std::fclose(f);
    return out;
}

TEST(HeadlessView, EveryChangeIsOneLine) {
    const std::string out = Printed([](HeadlessView& v) {
        v.SetStatusText("전화가 왔습니다.");
        v.SetNumberText("홍길동\n0212345678");
        v.SetPicture(1171, 233);
        v.SetButtonLook(1058, "HookOff");
        v.ShowRingPopup("Vantelo\n Ring");
        v.CloseRingPopup();
        v.SetMemoText("call back");
        v.MessageBox("이미 프로그램이 실행중입니다.");
    });
    EXPECT_EQ(out,
              "status: 전화가 왔습니다.\n"
              "number: 홍길동\\n0212345678\n"
              "picture 1171: 233\n"
              "button 1058: HookOff\n"
              "popup: Vantelo\\n Ring\n"
              "popup: closed\n"
              "memo: call back\n"
              "messagebox: 이미 프로그램이 실행중입니다.\n");
}

TEST(HeadlessView, TheNewMessageCountIsALineWhenItChanges) {
    struct Case {
        std::vector<int> counts;  // told in this order, the first at start
        const char* out;
    };
    const Case cases[] = {
        {{0}, ""},  // none waiting at start: no news
        {{0, 1, 1, 2, 0}, "messages: 1\nmessages: 2\nmessages: 0\n"},
        {{3}, "messages: 3\n"},
        {{3, 0, 0}, "messages: 3\nmessages: 0\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Printed([&](HeadlessView& v) {
                      for (int n : c.counts) v.NewMessagesChanged(n);
                  }),
                  c.out);
}

TEST(HeadlessView, AValueToldAgainIsNoChange) {
    const std::string out = Printed([](HeadlessView& v) {
        v.SetStatusText("a");
        v.SetStatusText("a");
        v.SetPicture(1171, 233);
        v.SetPicture(1172, 233);
        v.SetPicture(1171, 233);
        v.CloseRingPopup();  // none shown
        v.MessageBox("m");
        v.MessageBox("m");  // a message box is shown each time
        v.SetStatusText("b");
        v.SetStatusText("a");
    });
    EXPECT_EQ(out,
              "status: a\npicture 1171: 233\npicture 1172: 233\nmessagebox: m\nmessagebox: m\n"
              "status: b\nstatus: a\n");
}

}  // namespace
}  // namespace vantelo
