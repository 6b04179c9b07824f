#include "WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "platform/Clock.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::pages::test {

void WindowFixture::SetUp() {
    ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
}

void WindowFixture::TearDown() {
    window_.reset();
}

void WindowFixture::Open(bool tray) {
    PhoneWindow::Setup setup;
    setup.database = DefaultDatabasePath();
    setup.popupTimers = &popupTimers_;
    setup.tray = tray;
    window_ = std::make_unique<PhoneWindow>(phone_, setup);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
}

void WindowFixture::Store(const char* table, const ContactRecord& record) {
    std::unique_ptr<ContactRecordSet> set;
    if (std::string(table) == "AddressList")
        set = std::make_unique<CRSAddressList>();
    else
        set = std::make_unique<CRSInnerLineList>();
    ASSERT_TRUE(set->Open().ok());
    ASSERT_TRUE(set->AddContact(record).ok());
}

ContactRecord WindowFixture::Contact(const std::string& name, const std::string& group,
                                     std::initializer_list<std::pair<int, std::string>> more) {
    ContactRecord c;
    c.fields[0] = name;
    c.fields[1] = group;
    for (const auto& [field, value] : more) c.fields[static_cast<std::size_t>(field)] = value;
    return c;
}

void WindowFixture::Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void WindowFixture::Click(int controlId) {
    Click(window_->Control(controlId));
}

QString WindowFixture::AnswerMessageBox(QMessageBox::StandardButton button,
                                        const std::function<void()>& action) {
    // Shared with the polling timer, which may outlive this call when no box
    // comes up; it gives up after about thirty seconds (a loaded machine may
    // be slow to show one).
    struct State {
        QString said;
        bool answered = false;
        bool done = false;
        int tries = 0;
    };
    auto state = std::make_shared<State>();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [state, poll, button] {
        if (state->done || ++state->tries > 3000)
            return;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, *poll);
            return;
        }
        state->said = box->windowTitle() + "|" + box->text();
        state->answered = true;
        if (QAbstractButton* b = box->button(button))
            b->click();
        else
            box->reject();
    };
    QTimer::singleShot(10, *poll);
    action();
    state->done = true;
    EXPECT_TRUE(state->answered) << "no message box came up";
    return state->said;
}

}  // namespace vantelo::pages::test
