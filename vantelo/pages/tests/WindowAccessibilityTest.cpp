// The phone window as assistive technology and the keyboard reach it: every
// focusable control named, roles and states of the painted buttons and
// indicators, the display and status line telling their changes, the ring
// pop-up announcing the caller, Tab through each page, Space and Enter on
// painted buttons, F5 for the hook and Ctrl+Tab for the pages.

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <set>

#include "AccessibleNames.h"
#include "AddressBookPage.h"
#include "CallListPage.h"
#include "ContactEditPage.h"
#include "PhoneFixture.h"
#include "PhoneLayout.h"
#include "RingPopup.h"
#include "WindowFixture.h"
#include "platform/Folders.h"
#include "testsupport/AccessibleTree.h"
#include "testsupport/QtPump.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/CallLogActions.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/SkinButton.h"

namespace vantelo::pages::test {
namespace {

using vt::widgets::SkinButton;

// The phone behind the call log page: a scripted line, nothing playing.
class QuietLog : public CallLogActions {
public:
    std::string LookupName(const std::string&) override { return {}; }
    PhoneLine& Line() override { return line; }
    bool IsRecording() const override { return false; }
    bool IsPlaying() const override { return false; }
    bool IsAbsenceMode() const override { return false; }
    void SetPlaying(bool) override {}
    void ShowPlaying(bool) override {}
    void SetStatusText(const std::string&) override {}
    void WriteLog(const std::string&) override {}
    std::filesystem::path ApplicationFolder() const override { return vt::ApplicationFolder(); }
    vantelo::test::ScriptLine line;
};

class WindowAccessibilityTest : public WindowFixture {
protected:
    void OpenAll() {
        Open();
        callLog_ = CallListPage::InstallInto(*window_, log_, DefaultDatabasePath());
        QApplication::setActiveWindow(window_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    QAccessibleInterface* Access(int id) {
        return QAccessible::queryAccessibleInterface(window_->Control(id));
    }
    // The painted buttons that Tab must reach on the page shown: the
    // window's own and those of the page.
    std::set<QWidget*> ShownButtons() {
        std::set<QWidget*> buttons;
        for (SkinButton* b : window_->findChildren<SkinButton*>())
            if (b->isVisibleTo(window_.get()))
                buttons.insert(b);
        return buttons;
    }

    QuietLog log_;
    CallListPage* callLog_ = nullptr;
};

TEST_F(WindowAccessibilityTest, EveryFocusableControlOfTheWindowAndItsPagesHasAName) {
    OpenAll();
    EXPECT_EQ(vt::test::UnnamedFocusable(*window_), QStringList());
    // The contact edit page's group box is typed into through its line edit.
    auto* group = qobject_cast<QComboBox*>(window_->ContactEdit().Control(IDC_CE_GROUP));
    ASSERT_TRUE(group && group->lineEdit());
    EXPECT_EQ(group->lineEdit()->accessibleName(), "그룹");
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(window_.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Vantelo");
    window_->ShowRingPopup("홍길동\n0212345678");
    ASSERT_NE(window_->Popup(), nullptr);
    EXPECT_EQ(vt::test::UnnamedFocusable(*window_->Popup()), QStringList());
}

TEST_F(WindowAccessibilityTest, TheContactGridExposesItsRowsAndCells) {
    Store("AddressList", Contact("홍길동", "가족", {{2, "0212345678"}}));
    Store("AddressList", Contact("김철수", "친구"));
    OpenAll();
    QAccessibleInterface* grid =
        QAccessible::queryAccessibleInterface(&window_->AddressBook().Grid());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->text(QAccessible::Name), "주소록 목록");
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 12);
    QStringList names;
    for (int r = 0; r < 2; ++r) names << table->cellAt(r, 0)->text(QAccessible::Name);
    names.sort();
    EXPECT_EQ(names, QStringList({"김철수", "홍길동"}));
    EXPECT_EQ(table->columnDescription(2), "자택전화");
}

TEST_F(WindowAccessibilityTest, PaintedButtonsTellTheirNameRoleAndState) {
    OpenAll();
    struct Case {
        int id;
        const char* name;
        QAccessible::Role role;
    };
    const Case cases[] = {
        {IDC_HOOK, "통화", QAccessible::CheckBox},
        {IDC_RECORD, "녹음", QAccessible::CheckBox},
        {IDC_PLAY, "재생", QAccessible::CheckBox},
        {IDC_ARS, "부재중 자동 응답", QAccessible::CheckBox},
        {IDC_PAGE_ADDRESSBOOK, "주소록", QAccessible::PageTab},
        {IDC_PAGE_CALLLOG, "통화목록", QAccessible::PageTab},
        {IDC_KEY_1 + 4, "5", QAccessible::Button},
        {IDC_KEY_HASH, "샵", QAccessible::Button},
        {IDC_REDIAL, "재다이얼", QAccessible::Button},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* iface = Access(c.id);
        ASSERT_NE(iface, nullptr) << c.id;
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.id;
        EXPECT_EQ(iface->role(), c.role) << c.id;
        EXPECT_TRUE(iface->state().focusable) << c.id;
    }

    // The lit look is the checked state; the page shown is the selected tab.
    EXPECT_FALSE(Access(IDC_HOOK)->state().checked);
    window_->SetButtonLook(IDC_HOOK, "HookOff");
    EXPECT_TRUE(Access(IDC_HOOK)->state().checked);
    window_->SetButtonLook(IDC_HOOK, "HookOn");
    EXPECT_FALSE(Access(IDC_HOOK)->state().checked);
    EXPECT_TRUE(Access(IDC_PAGE_ADDRESSBOOK)->state().selected);
    window_->SwitchPage(2);
    EXPECT_FALSE(Access(IDC_PAGE_ADDRESSBOOK)->state().selected);
    EXPECT_TRUE(Access(IDC_PAGE_CALLLOG)->state().selected);
    // The call log's own toggles follow its player's looks.
    callLog_->SetButtonLook(IDC_CL_PLAY, "Pause");
    auto* play = QAccessible::queryAccessibleInterface(callLog_->Control(IDC_CL_PLAY));
    EXPECT_TRUE(play->state().checked);
    callLog_->SetButtonLook(IDC_CL_PLAY, "Play");
    EXPECT_FALSE(play->state().checked);
}

TEST_F(WindowAccessibilityTest, IndicatorsSayWhatTheirPictureMeans) {
    OpenAll();
    struct Case {
        int id;
        int bitmap;
        const char* meaning;
    };
    const Case cases[] = {
        {IDC_PIC_HOOK, IDB_HOOK_ON, "대기 중"},
        {IDC_PIC_HOOK, IDB_HOOK_OFF, "통화 중"},
        {IDC_PIC_ANSWERING, IDB_ANSWERING_ON, "자동 응답 중"},
        {IDC_PIC_RECORDING, IDB_RECORDING_ON, "녹음 중"},
        {IDC_PIC_RECORDING, IDB_RECORDING_OFF, "녹음 안 함"},
        {IDC_PIC_PLAYBACK, IDB_PLAYBACK_ON, "재생 중"},
    };
    for (const Case& c : cases) {
        window_->SetIndicator(c.id, c.bitmap);
        EXPECT_EQ(Access(c.id)->text(QAccessible::Name), QString::fromUtf8(c.meaning)) << c.id;
    }
}

TEST_F(WindowAccessibilityTest, NumberDisplayAndStatusLineAreReadWithTheirTexts) {
    OpenAll();
    struct Case {
        int id;
        std::function<void(const QString&)> set;
        QString what;
    };
    const Case cases[] = {
        {IDC_NUMBER, [this](const QString& t) { window_->SetNumberText(t); },
         AccessibleNames::NumberDisplay()},
        {IDC_STATUS, [this](const QString& t) { window_->SetStatusText(t); },
         AccessibleNames::StatusLine()},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* iface = Access(c.id);
        for (const char* text : {"홍길동\n0212345678", "전화가 왔습니다."}) {
            c.set(QString::fromUtf8(text));
            EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(text)) << c.id;
        }
        EXPECT_EQ(iface->role(), QAccessible::StaticText) << c.id;
        EXPECT_EQ(iface->text(QAccessible::Description), c.what) << c.id;
    }
}

TEST_F(WindowAccessibilityTest, RingPopUpIsAnAlertThatNamesTheCaller) {
    OpenAll();
    window_->ShowRingPopup("홍길동\n0212345678");
    RingPopup* popup = window_->Popup();
    ASSERT_NE(popup, nullptr);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(popup);
    EXPECT_EQ(iface->role(), QAccessible::AlertMessage);
    EXPECT_EQ(iface->text(QAccessible::Name), "홍길동\n0212345678");
    window_->SetRingPopupText("김철수\n0311112222");
    EXPECT_EQ(iface->text(QAccessible::Name), "김철수\n0311112222");
}

TEST_F(WindowAccessibilityTest, TabReachesEveryPaintedButtonOfEachPage) {
    OpenAll();
    for (int page = 0; page < 4; ++page) {
        window_->SwitchPage(page);
        window_->setFocus(Qt::OtherFocusReason);
        const std::vector<QWidget*> visits = vt::test::TabVisits(*window_);
        const std::set<QWidget*> reached(visits.begin(), visits.end());
        for (QWidget* b : ShownButtons())
            EXPECT_TRUE(reached.count(b))
                << "page " << page << ": " << b->accessibleName().toStdString();
        // The page tabs come first.
        ASSERT_GE(visits.size(), 4u);
        EXPECT_EQ(visits[0], window_->Control(IDC_PAGE_ADDRESSBOOK)) << page;
    }
}

TEST_F(WindowAccessibilityTest, KeysPressTheFocusedButtonOrGoToThePhone) {
    OpenAll();
    // At start the keys go to the phone itself: Enter is its hook key.
    EXPECT_EQ(QApplication::focusWidget(), window_.get());
    struct Case {
        int focus;  // 0: the window itself
        Qt::Key key;
        const char* call;
    };
    const Case cases[] = {
        {0, Qt::Key_Return, "key 16777220"},
        {IDC_KEY_1 + 4, Qt::Key_Space, "button 1049"},
        {IDC_KEY_1 + 4, Qt::Key_Return, "button 1049"},
        {IDC_KEY_1 + 4, Qt::Key_7, "key 7"},
        {IDC_SAVE_MEMO, Qt::Key_Enter, "button 1066"},
    };
    for (const Case& c : cases) {
        QWidget* target = c.focus ? window_->Control(c.focus) : window_.get();
        target->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(target->hasFocus()) << c.call;
        phone_.calls.clear();
        QTest::keyClick(target, c.key);
        EXPECT_EQ(phone_.calls, std::vector<std::string>{c.call}) << c.call;
    }
}

TEST_F(WindowAccessibilityTest, F5AnswersAndCtrlTabStepsThroughThePages) {
    OpenAll();
    window_->setFocus(Qt::OtherFocusReason);
    phone_.calls.clear();
    QTest::keyClick(window_.get(), Qt::Key_F5);
    EXPECT_TRUE(vt::test::PumpUntil([this] { return !phone_.calls.empty(); }));
    EXPECT_EQ(phone_.calls, std::vector<std::string>{"button 1058"});
    auto* hook = static_cast<SkinButton*>(window_->Control(IDC_HOOK));
    EXPECT_EQ(hook->toolTip(), "Hook Off");
    EXPECT_TRUE(hook->ShownToolTip().contains("F5"));

    struct Step {
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    const Step steps[] = {
        {Qt::ControlModifier, IDD_INNERLINE},
        {Qt::ControlModifier, IDD_CALLLOG},
        {Qt::ControlModifier, IDD_SETTINGS},
        {Qt::ControlModifier, IDD_ADDRESSBOOK},
        {Qt::ControlModifier | Qt::ShiftModifier, IDD_SETTINGS},
    };
    for (const Step& s : steps) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, s.modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab,
                        s.modifiers);
        EXPECT_EQ(window_->ShownPage(), s.page);
    }
}

}  // namespace
}  // namespace vantelo::pages::test
