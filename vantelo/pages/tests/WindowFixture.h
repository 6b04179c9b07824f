#pragma once
// A phone window on a fresh database in a private folder, with the
// recording phone behind it and the ring pop-up on a manual clock.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <memory>

#include "PhoneWindow.h"
#include "RecordingPhone.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/ContactRecord.h"

namespace vantelo::pages::test {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (after the database holds what the test needs).
    void Open(bool tray = false);
    // Adds a contact straight into a table ("AddressList" or "InnerLineList").
    void Store(const char* table, const ContactRecord& record);
    static ContactRecord Contact(const std::string& name, const std::string& group,
                                 std::initializer_list<std::pair<int, std::string>> more = {});

    void Click(QWidget* w);
    void Click(int controlId);
    // Answers the next message box with `button` and returns what it said
    // (waits for it while `action` runs).
    QString AnswerMessageBox(QMessageBox::StandardButton button,
                             const std::function<void()>& action);

    vt::test::TestEnvironment env_;
    RecordingPhone phone_;
    vt::ManualTimerHost popupTimers_;
    std::unique_ptr<PhoneWindow> window_;
};

}  // namespace vantelo::pages::test
