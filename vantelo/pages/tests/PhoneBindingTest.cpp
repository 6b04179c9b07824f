// The window on the real phone controller and the scripted line: a ring
// with caller ID reaches the number display and the pop-up, the Hook button
// answers, and a double-click in the address book dials.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "AddressBookPage.h"
#include "CallListPage.h"
#include "InnerLinePage.h"
#include "PhoneFixture.h"
#include "PhoneWindow.h"
#include "PostedMessages.h"
#include "SharedEngine.h"
#include "lindev/lindev.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/QtPump.h"
#include "storage/Connection.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/app/OtherDesks.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneBinding.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages::test {
namespace {

class PhoneBindingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok()); }

    void AddContact(const std::string& name, const std::string& homePhone) {
        ContactRecord c;
        c.fields[0] = name;
        c.fields[1] = "가족";
        c.fields[2] = homePhone;
        CRSAddressList set;
        ASSERT_TRUE(set.Open().ok());
        ASSERT_TRUE(set.AddContact(c).ok());
    }

    void Open(bool tray = false, const std::filesystem::path& database = DefaultDatabasePath()) {
        PhoneWindow::Setup setup;
        setup.database = database;
        setup.popupTimers = &popupTimers_;
        setup.tray = tray;
        binding_ = std::make_unique<PhoneBinding>(PhoneBinding::Parts{
            line_, clock_, PhoneController::Places{env_.AppHome(), vt::SettingsFilePath()}, setup,
            &timers_});
        timers_.SetSink(&binding_->Phone());
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        binding_->Start();
        Deliver();
    }
    PhoneWindow& Window() { return binding_->Window(); }

    void Deliver() { DeliverPosted(line_, Window().MessageWindow()); }
    void Ring(const std::string& number) {
        line_.Post(WM_TY_RINGDETECTED, 0);
        Deliver();
        line_.cid = "12080900";
        line_.cid.push_back(static_cast<char>(number.size()));
        line_.cid += number;
        line_.Post(WM_TY_CIDREDAY, 0);
        Deliver();
    }
    void Click(int id) {
        QWidget* w = Window().Control(id);
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        Deliver();
    }

    vt::test::TestEnvironment env_;
    vt::FixedClock clock_ = vt::FixedClock::At(2026, 12, 8, 9, 0, 0);
    vt::ManualTimerHost timers_;
    vt::ManualTimerHost popupTimers_;
    vantelo::test::ScriptLine line_;
    std::unique_ptr<PhoneBinding> binding_;
};

TEST_F(PhoneBindingTest, ARingWithCallerIdShowsTheNameAndTheHookButtonAnswers) {
    AddContact("김철수", "0212345678");
    Open();
    Click(IDC_PAGE_SETTINGS);  // the caller's entry is shown whatever page is up

    Ring("0212345678");
    EXPECT_EQ(Window().StatusText(), "전화가 왔습니다.");
    EXPECT_EQ(Window().NumberText(), "김철수\n0212345678");
    ASSERT_NE(Window().Popup(), nullptr);
    EXPECT_EQ(Window().Popup()->Text(), "김철수\n0212345678");
    EXPECT_EQ(Window().ShownPage(), IDD_ADDRESSBOOK);

    Click(IDC_HOOK);
    EXPECT_TRUE(line_.Called("HookOff"));
    EXPECT_EQ(Window().StatusText(), "통화 상태입니다.");
    EXPECT_EQ(Window().ButtonLook(IDC_HOOK), "HookOff");
    EXPECT_EQ(Window().Indicator(IDC_PIC_HOOK), IDB_HOOK_OFF);
    EXPECT_TRUE(Window().Popup() == nullptr || Window().Popup()->Closing());

    // Pages switch freely in the call; hanging up logs it and clears the display.
    Click(IDC_PAGE_INNERLINE);
    EXPECT_EQ(Window().ShownPage(), IDD_INNERLINE);
    Click(IDC_HOOK);
    EXPECT_TRUE(line_.Called("HookOn"));
    EXPECT_EQ(Window().ButtonLook(IDC_HOOK), "HookOn");
    EXPECT_EQ(Window().NumberText(), "");
}

TEST_F(PhoneBindingTest, ACallEndingWhileTheCallLogIsHeldIsStoredOnRelease) {
    Open();
    binding_->HoldCallLog(true);  // as during a long delete-all of the call log page
    Ring("0212345678");
    Click(IDC_HOOK);
    Click(IDC_HOOK);
    EXPECT_TRUE(line_.Called("HookOn"));
    CRSCallList log;
    ASSERT_TRUE(log.Open().ok());
    EXPECT_EQ(log.GetRecordCount(), 0);  // waiting, not lost
    binding_->HoldCallLog(false);
    ASSERT_TRUE(log.ReApply().ok());
    ASSERT_EQ(log.GetRecordCount(), 1);
    ASSERT_TRUE(log.MoveFirst().ok());
    EXPECT_EQ(log.GetText("CallNum"), "0212345678");
    ASSERT_NE(binding_->CallLog(), nullptr);
    EXPECT_EQ(binding_->CallLog()->Grid().RowCount(), 1);
}

TEST_F(PhoneBindingTest, AnotherDesksRingHoldsThePopupUntilItEndsOrThisLineRings) {
    Open();
    binding_->ShowDeskRing("창구", "창구\n홍길동\n0212345678");
    ASSERT_NE(Window().Popup(), nullptr);
    EXPECT_EQ(Window().Popup()->Text(), "창구\n홍길동\n0212345678");
    EXPECT_FALSE(binding_->RingPopupShown()) << "free for this phone's own caller";
    binding_->EndDeskRing("상담실");  // not the desk shown
    binding_->CloseRingPopup();       // nor this phone's to close
    EXPECT_FALSE(Window().Popup()->Closing());
    binding_->EndDeskRing("창구");
    EXPECT_TRUE(Window().Popup()->Closing());

    // This line's ring takes the pop-up over; other desks then leave it alone.
    binding_->ShowDeskRing("창구", "창구\n0311112222");
    Ring("0212345678");
    ASSERT_NE(Window().Popup(), nullptr);
    EXPECT_EQ(Window().Popup()->Text(), "0212345678");
    binding_->ShowDeskRing("상담실", "상담실\n0311112222");
    binding_->EndDeskRing("창구");
    EXPECT_EQ(Window().Popup()->Text(), "0212345678");
    EXPECT_FALSE(Window().Popup()->Closing());
    EXPECT_TRUE(binding_->RingPopupShown());
}

TEST_F(PhoneBindingTest, CallsAndContactsOfAnotherDeskShowOnThePages) {
    ASSERT_TRUE(vantelo::test::UseEngine(storage::Dialect::PostgreSQL));
    const auto uri = DefaultDatabasePath();
    ASSERT_TRUE(PrepareDatabase(clock_, uri).ok());
    Open();
    OtherDesks desks(
        [](std::function<void()> task) {
            QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
        },
        {[this](const std::set<std::string>& tables) { binding_->TablesChanged(tables); }, {}});
    ASSERT_TRUE(desks.Start(uri, "상담실"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return desks.Listening(); }, 10000));
    CallListPage* page = binding_->CallLog();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Grid().RowCount(), 0);
    QSignalSpy shown(page, &CallListPage::NewCallsShown);
    // Each showing is waited for (with a deadline) until the rows are as expected.
    auto rowsBecome = [&](int rows) {
        while (page->Grid().RowCount() != rows)
            if (!shown.wait(10000))
                return false;
        return true;
    };

    DatabasePhoneStore otherDesk(clock_, uri);
    for (const char* number : {"0311112222", "0212345678"}) {
        CallRecord call;
        call.CallMode = kCallReceived;
        call.CallNum = number;
        std::string error;
        ASSERT_TRUE(otherDesk.AppendCall(call, error)) << error;
    }
    ASSERT_TRUE(rowsBecome(2));
    EXPECT_EQ(page->CallAtRow(0)->CallNum, "0212345678");  // newest on top

    auto c = storage::Connection::Open(uri);
    ASSERT_TRUE(c.ok());
    ASSERT_TRUE(c.value()->Exec("DELETE FROM \"CallList\" WHERE \"CallNum\" = '0212345678'").ok());
    ASSERT_TRUE(rowsBecome(1));
    EXPECT_EQ(page->CallAtRow(0)->CallNum, "0311112222");

    // Contacts another desk adds reach both contact pages.
    const int book = Window().AddressBook().Grid().RowCount();
    const int inner = Window().InnerLine().Grid().RowCount();
    ContactRecord kim;
    *kim.Field("Name") = "홍길동";
    *kim.Field("HomePhone") = "0212345678";
    CRSAddressList otherBook;
    ASSERT_TRUE(otherBook.Open(uri).ok());
    ASSERT_TRUE(otherBook.AddContact(kim).ok());
    CRSInnerLineList otherInner;
    ASSERT_TRUE(otherInner.Open(uri).ok());
    ASSERT_TRUE(otherInner.AddContact(kim).ok());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Window().AddressBook().Grid().RowCount() == book + 1 &&
                   Window().InnerLine().Grid().RowCount() == inner + 1;
        },
        10000));
}

// A call of an earlier run, with its recording on disk when it has one.
CallRecord LoggedCall(int mode, const std::string& number, const std::string& file) {
    CallRecord call;
    call.CallMode = mode;
    call.CallNum = number;
    call.CallTime = 9;
    call.CallDate = {2026, 12, 8, 8, 0, 0};
    if (!file.empty()) {
        const auto folder = vt::ApplicationFolder() / "Record" / "2026-12-08";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / file) << "RIFF recording";
        call.CallRec = true;
        call.CallRecDirectory = folder.string() + "/";
        call.CallRecFileName = file;
    }
    CRSCallList log;
    CallRecord stored = call;  // the append resets what it stored
    EXPECT_TRUE(log.AppendCall(stored, vt::SystemClock::Instance()).ok());
    return call;
}

TEST_F(PhoneBindingTest, NewMessagesShowOnTheIndicatorUntilPlayedOnTheCallLogPage) {
    const CallRecord first = LoggedCall(kCallAnswered, "0311112222", "080000.wav");
    LoggedCall(kCallReceived, "0322223333", "080100.wav");  // recorded, but no message
    LoggedCall(kCallAnswered, "0333334444", "080200.wav");
    LoggedCall(kCallAnswered, "0344445555", "");  // nothing said
    Open(true);
    QLabel* badge = Window().MessageBadge();
    ASSERT_NE(badge, nullptr);
    EXPECT_TRUE(badge->isVisible());
    EXPECT_EQ(badge->text(), "2");
    EXPECT_TRUE(Window().rect().contains(badge->geometry()));
    ASSERT_TRUE(Window().HasTray());
    EXPECT_EQ(Window().TrayIcon()->toolTip(), "Vantelo\n새 메시지 2");

    // Played on the call log page (through the adapter): heard at once.
    ASSERT_NE(binding_->CallLog(), nullptr);
    CallLogPlayer& player = binding_->CallLog()->Player();
    if (player.Setup())
        player.OutputButton();  // the device output: the scripted line plays it
    player.Start(first);
    EXPECT_TRUE(line_.Called("WaveOutSub 080000.wav"));
    EXPECT_EQ(badge->text(), "1");
    EXPECT_EQ(Window().TrayIcon()->toolTip(), "Vantelo\n새 메시지 1");
    player.Stop();
    Deliver();

    // Marked heard by another program: seen at the phone's next look.
    ASSERT_TRUE(MessageInbox(DefaultDatabasePath()).MarkAllHeard(clock_.NowLocal()).ok());
    EXPECT_EQ(badge->text(), "1");
    timers_.Advance(kMessagesLookMs);
    EXPECT_FALSE(badge->isVisible());
    EXPECT_EQ(Window().NewMessageCount(), 0);
    EXPECT_EQ(Window().TrayIcon()->toolTip(), "Vantelo");
}

TEST_F(PhoneBindingTest, KeypadKeysAndADoubleClickInTheAddressBookDial) {
    AddContact("이순", "0298765432");
    Open();
    Click(IDC_KEY_1 + 1);  // "2"
    Window().setFocus();
    QTest::keyClicks(&Window(), "05");
    Deliver();
    EXPECT_EQ(Window().NumberText(), "205");
    QTest::keyClick(&Window(), Qt::Key_Delete);
    EXPECT_EQ(Window().NumberText(), "");

    auto& book = Window().AddressBook();
    QTest::mouseDClick(book.Grid().viewport(), Qt::LeftButton, {},
                       book.Grid().CellRect(0, 2).center());
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"),
              "AutoDialThread 0298765432 ext=0 prefix= 1000 160 100 8");
    EXPECT_EQ(Window().StatusText(), "통화 상태입니다.");
    EXPECT_EQ(Window().ButtonLook(IDC_HOOK), "HookOff");
}

TEST_F(PhoneBindingTest, SettingsSavedOnThePageAreTheControllersAndTheExitRunsItsSequence) {
    Open();
    bool exited = false;
    binding_->SetOnExit([&] { exited = true; });
    binding_->Settings().StrExt = "9";
    ASSERT_TRUE(binding_->SaveSettings());
    PhoneSettings stored;
    ASSERT_TRUE(LoadSettings(stored));
    EXPECT_EQ(stored.StrExt, "9");
    EXPECT_EQ(binding_->Settings().StrExt, "9");

    binding_->OnExitCommand();  // idle line: no question
    EXPECT_TRUE(exited);
    EXPECT_TRUE(line_.Called("StopService"));
    EXPECT_TRUE(line_.Called("CloseDeviceByIndex"));
}

// The names of the contact book of `database`, in stored order.
std::vector<std::string> BookNames(const std::filesystem::path& database) {
    CRSAddressList book;
    std::vector<std::string> names;
    if (!book.Open(database).ok())
        return names;
    for (long i = 0; i < book.GetRecordCount() && book.SetAbsolutePosition(i).ok(); ++i)
        names.push_back(book.GetText("Name"));
    return names;
}

// An office's shared store whose server goes away: the contact pages change
// over to the desk's copy (the status line says so), an entry added there
// reaches the server once it is back, and the pages go back to the server.
TEST_F(PhoneBindingTest, WhileTheSharedServerIsAwayTheContactPagesWorkOnTheDesksCopy) {
    static vt::test::PostgresServer server;  // its own: the test stops it
    const std::string uri = server.NewDatabase();
    ASSERT_TRUE(PrepareDatabase(clock_, uri).ok());
    {
        CRSAddressList book;
        ASSERT_TRUE(book.Open(uri).ok());
        ContactRecord c;
        c.fields[0] = "홍길동";
        ASSERT_TRUE(book.AddContact(c).ok());
    }
    Open(false, uri);
    ContactPage& page = Window().AddressBook();
    const auto copy = env_.AppHome() / OfflineCopy::kFileName;
    ASSERT_TRUE(vt::test::PumpUntil([&] { return BookNames(copy).size() == 1; }, 30000));

    server.Halt();
    // The phone looks every 2 s; its copy finds the server gone within seconds.
    const auto look = [&](bool onCopy) {
        return vt::test::PumpUntil(
            [&] {
                timers_.Advance(kMessagesLookMs);
                return page.OnCopy() == onCopy;
            },
            30000);
    };
    ASSERT_TRUE(look(true));
    EXPECT_TRUE(Window().InnerLine().OnCopy());
    EXPECT_EQ(Window().StatusText().toStdString(), text::kContactsOnCopy);
    ASSERT_EQ(page.Grid().RowCount(), 1);
    EXPECT_EQ(page.CellText(0, 0), "홍길동");
    ContactRecord added;
    added.fields[0] = "박민수";
    added.fields[1] = "친구";
    page.AddEntry(added);
    ASSERT_EQ(page.Grid().RowCount(), 2);

    server.Resume();
    ASSERT_TRUE(look(false));
    EXPECT_EQ(BookNames(uri), (std::vector<std::string>{"홍길동", "박민수"}));
    ASSERT_EQ(page.Grid().RowCount(), 2);
    EXPECT_EQ(page.CellText(1, 0), "박민수");
}

}  // namespace
}  // namespace vantelo::pages::test
