// The boxes of the window program's start: a second start, a lock that
// cannot be taken, and any other problem.

#include <gtest/gtest.h>

#include <QMessageBox>

#include "vantelo/app/WindowProgram.h"

namespace vantelo {
namespace {

using Problem = ProgramStart::Problem;

TEST(WindowProgram, EachStartProblemHasItsBox) {
    struct Case {
        Problem problem;
        const char* text;
        const char* title;
        QMessageBox::Icon icon;
        bool onTop;
    };
    const Case cases[] = {
        {Problem::AlreadyRunning, "이미 프로그램이 실행중입니다.", "Error", QMessageBox::Critical,
         true},
        {Problem::LockFailed, "/run/user/1000/Korvane_TYC_Plus.lock: Permission denied", "Error!",
         QMessageBox::Critical, false},
        {Problem::Other, "prompts: No space left on device", "Vantelo", QMessageBox::Information,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const auto box = WindowProgram::ProblemBox(c.problem, c.text);
        EXPECT_EQ(box->windowTitle(), c.title);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.onTop);
    }
}

}  // namespace
}  // namespace vantelo
