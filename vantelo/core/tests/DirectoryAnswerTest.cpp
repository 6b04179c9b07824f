// A caller the books do not know is asked of the directory; its answer,
// whenever it comes, names the caller on screen and in the call log.

#include <gtest/gtest.h>

#include "PhoneFixture.h"
#include "lindev/lindev.h"

namespace vantelo::test {
namespace {

// The directory's seam: what was asked, answered when the test says.
class AskedDirectory : public CallerDirectory {
public:
    std::vector<std::string> asked;
    void Ask(const std::string& number) override { asked.push_back(number); }
};

class DirectoryAnswer : public Phone {
protected:
    void SetUp() override {
        StartPhone();
        phone_->SetCallerDirectory(&directory_);
        AddContact("홍길동", "02-1234-5678");
    }
    // The one row of `number`'s calls.
    CallRecord OnlyRowOf(const std::string& number) {
        CallRecord found;
        int count = 0;
        for (const auto& row : Rows())
            if (row.CallNum == number) {
                found = row;
                ++count;
            }
        EXPECT_EQ(count, 1) << number;
        return found;
    }
    AskedDirectory directory_;
};

TEST_F(DirectoryAnswer, OnlyCallersNoBookKnowsAreAskedAndTheRingIsShownFirst) {
    Ring("0212345678");
    EXPECT_TRUE(directory_.asked.empty()) << "the contact book named the caller";
    RingEnd();

    Ring("0311112222");
    ASSERT_EQ(directory_.asked, std::vector<std::string>{"0311112222"});
    // Shown before any answer: the number alone.
    EXPECT_EQ(view_.number, "0311112222");
    EXPECT_TRUE(view_.popupShown);
    EXPECT_EQ(view_.popup, "0311112222");

    phone_->DirectoryAnswered("0311112222", "김영희");
    EXPECT_EQ(view_.number, "김영희\n0311112222");
    EXPECT_EQ(view_.popup, "김영희\n0311112222");
    RingEnd();
    EXPECT_EQ(OnlyRowOf("0311112222").CallName, "김영희");
}

TEST_F(DirectoryAnswer, ALateAnswerNamesTheCallLogRow) {
    Ring("0311112222");
    RingEnd();  // the caller gave up before the directory answered
    ASSERT_EQ(OnlyRowOf("0311112222").CallName, "");
    const int logged = view_.callsLogged;
    phone_->DirectoryAnswered("0311112222", "김영희");
    EXPECT_EQ(OnlyRowOf("0311112222").CallName, "김영희");
    EXPECT_EQ(view_.callsLogged, logged + 1) << "the call log page reads the row again";
    // Once only: a second answer changes nothing.
    phone_->DirectoryAnswered("0311112222", "다른이름");
    EXPECT_EQ(OnlyRowOf("0311112222").CallName, "김영희");
}

TEST_F(DirectoryAnswer, AnswersForAnotherCallerOrWithoutANameChangeNothing) {
    Ring("0311112222");
    phone_->DirectoryAnswered("0399999999", "엉뚱한이름");
    phone_->DirectoryAnswered("0311112222", "");
    EXPECT_EQ(view_.number, "0311112222");
    RingEnd();
    // The next caller is asked; a late answer for the first no longer counts.
    Ring("0322223333");
    phone_->DirectoryAnswered("0311112222", "늦은이름");
    EXPECT_EQ(view_.number, "0322223333");
    RingEnd();
    for (const auto& row : Rows()) EXPECT_EQ(row.CallName, "") << row.CallNum;
}

}  // namespace
}  // namespace vantelo::test
