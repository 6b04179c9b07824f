// The phone window's shell as a person meets it: its shape, the skinned
// buttons in place, page switching, the tray, keys and the window's menu.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <set>

#include "AboutBox.h"
#include "AddressBookPage.h"
#include "PhoneLayout.h"
#include "SettingsPage.h"
#include "WindowFixture.h"
#include "testsupport/QtPump.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/SkinButton.h"

namespace vantelo::pages::test {
namespace {

using vt::test::PumpUntil;

class PhoneWindowTest : public WindowFixture {
protected:
    QImage Shown(int id) {
        auto* b = qobject_cast<vt::widgets::SkinButton*>(window_->Control(id));
        return b ? b->CurrentPicture().toImage() : QImage();
    }
    // What a button shows now, compared with its place in a skin image.
    bool ShowsImage(int id, int image) {
        return Shown(id) == window_->Skin()
                                .Image(image)
                                .copy(window_->Control(id)->geometry())
                                .convertToFormat(Shown(id).format());
    }
};

TEST(PhoneWindowPlace, CentredOnTheWorkAreaAndNeverPastItsTopLeft) {
    const QSize size(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight);  // 830 x 576
    struct Case {
        QRect workArea;
        QPoint at;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1080}, {545, 252}},
        {{0, 27, 1366, 741}, {268, 27 + 82}},        // below a panel
        {{1920, 0, 1280, 1024}, {1920 + 225, 224}},  // the second screen
        {{0, 0, 800, 600}, {0, 12}},                 // narrower than the window
        {{100, 50, 640, 480}, {100, 50}},            // smaller both ways
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PhoneWindow::StartGeometry(c.workArea), QRect(c.at, size)) << c.workArea.x();
    }
}

TEST_F(PhoneWindowTest, OpensWhereItsScreensWorkAreaPlacesIt) {
    Open();
    const QRect area = window_->screen()->availableGeometry();
    EXPECT_EQ(window_->geometry(), PhoneWindow::StartGeometry(area));
    // Centred in height on any screen it fits in (in width only on the
    // wider ones): not in the corner.
    ASSERT_LE(window_->height(), area.height());
    EXPECT_EQ(window_->geometry().center().y(), area.center().y());
    EXPECT_NE(window_->pos(), area.topLeft());
}

TEST_F(PhoneWindowTest, ShapedFromItsSkinWithTheButtonsInPlace) {
    Open();
    EXPECT_EQ(window_->size(), QSize(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight));
    const QRegion mask = window_->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));  // the rounded corner is cut away
    EXPECT_TRUE(mask.contains(QPoint(415, 300)));
    EXPECT_TRUE(mask.contains(QPoint(PhoneLayout::kWindowWidth - 1, 300)));

    struct Expect {
        int id;
        QRect rect;
        const char* tip;
    };
    const Expect expected[] = {
        {IDC_PAGE_ADDRESSBOOK, {209, 44, 86, 29}, "주소록 페이지"},
        {IDC_PAGE_INNERLINE, {299, 44, 86, 29}, "내선목록 페이지"},
        {IDC_PAGE_CALLLOG, {388, 44, 86, 29}, "통화목록 페이지"},
        {IDC_PAGE_SETTINGS, {478, 44, 86, 29}, "환경설정 페이지"},
        {IDC_MINIMISE, {769, 15, 22, 22}, ""},
        {IDC_HIDE, {794, 15, 22, 22}, ""},
        {IDC_SAVE_MEMO, {651, 210, 157, 21}, "메모를 저장합니다."},
        {IDC_ARS, {651, 303, 80, 30}, "부재중임을 설정합니다."},
        {IDC_RECEIVE, {735, 303, 80, 30}, "전화를 끌어받습니다."},
        {IDC_PLAY, {651, 337, 80, 30}, "파일 재생을 합니다."},
        {IDC_RECORD, {735, 337, 80, 30}, "통화 녹취를 합니다."},
        {1047, {766, 381, 35, 20}, ""},
        {1051, {661, 438, 35, 20}, ""},
        {IDC_KEY_STAR, {661, 467, 35, 20}, ""},
        {IDC_KEY_0, {714, 467, 35, 20}, ""},
        {IDC_KEY_HASH, {766, 467, 35, 20}, ""},
        {IDC_HOOK, {681, 494, 99, 30}, "Hook Off"},
        {IDC_REDIAL, {655, 530, 60, 30}, ""},
        {IDC_MUTE, {718, 530, 32, 30}, "Mute 설정을 설정합니다."},
        {IDC_FLASH, {753, 530, 60, 30}, ""},
    };
    for (const Expect& e : expected) {
        QWidget* w = window_->Control(e.id);
        ASSERT_NE(w, nullptr) << e.id;
        EXPECT_EQ(w->geometry(), e.rect) << e.id;
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(e.tip)) << e.id;
        EXPECT_TRUE(window_->mask().contains(e.rect.center())) << e.id;
    }
    EXPECT_EQ(window_->Indicator(IDC_PIC_HOOK), IDB_HOOK_ON);
    EXPECT_EQ(window_->Indicator(IDC_PIC_ANSWERING), IDB_ANSWERING_OFF);
    EXPECT_EQ(window_->Indicator(IDC_PIC_RECORDING), IDB_RECORDING_OFF);
    EXPECT_EQ(window_->Indicator(IDC_PIC_PLAYBACK), IDB_PLAYBACK_OFF);
}

TEST_F(PhoneWindowTest, PageButtonsSwitchPagesByTheRules) {
    Open();
    QSignalSpy settingsLoads(window_.get(), &PhoneWindow::SettingsPageOpening);
    QWidget& settings = window_->Settings();
    QWidget callLog;
    int callLogRefreshes = 0;
    window_->InstallPage(IDD_CALLLOG, &callLog, {[&] { ++callLogRefreshes; }, {}});

    // The window starts on the address book page, its button selected.
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
    EXPECT_TRUE(ShowsImage(IDC_PAGE_ADDRESSBOOK, IDB_PAGE_SELECTED_NORMAL));
    EXPECT_TRUE(ShowsImage(IDC_PAGE_SETTINGS, IDB_MAIN_NORMAL));

    Click(IDC_PAGE_SETTINGS);
    EXPECT_EQ(window_->ShownPage(), IDD_SETTINGS);
    EXPECT_TRUE(settings.isVisible());
    EXPECT_FALSE(window_->AddressBook().isVisible());
    EXPECT_EQ(window_->LastHiddenPage(), IDD_ADDRESSBOOK);
    EXPECT_EQ(settingsLoads.count(), 1);
    EXPECT_TRUE(ShowsImage(IDC_PAGE_SETTINGS, IDB_PAGE_SELECTED_NORMAL));
    EXPECT_TRUE(ShowsImage(IDC_PAGE_ADDRESSBOOK, IDB_MAIN_NORMAL));
    EXPECT_EQ(settings.geometry(), PhoneLayout::kPageArea);

    // The shown page's button again changes nothing: no second load.
    Click(IDC_PAGE_SETTINGS);
    EXPECT_EQ(settingsLoads.count(), 1);

    window_->SetMemoText("남은 메모");
    Click(IDC_PAGE_CALLLOG);
    EXPECT_EQ(callLogRefreshes, 1);
    EXPECT_EQ(window_->MemoText(), "남은 메모");  // the call log page refreshes it itself
    Click(IDC_PAGE_SETTINGS);
    EXPECT_EQ(settingsLoads.count(), 2);
    EXPECT_EQ(window_->MemoText(), "");  // any other page clears the memo box

    Click(IDC_PAGE_INNERLINE);
    EXPECT_EQ(window_->ShownPage(), IDD_INNERLINE);
    // Only the phone's own buttons reach the phone.
    EXPECT_TRUE(phone_.calls.empty());
}

TEST_F(PhoneWindowTest, PhoneButtonsKeysAndMessagesGoToThePhone) {
    Open();
    Click(IDC_HOOK);
    Click(IDC_KEY_HASH);
    Click(IDC_SAVE_MEMO);
    window_->setFocus();
    QTest::keyClicks(window_.get(), "7r");
    QTest::keyClick(window_.get(), Qt::Key_Return);
    window_->MessageWindow().Post(vt::WM_USER + 10, 0, 5);
    ASSERT_TRUE(PumpUntil([&] { return phone_.calls.size() == 7; }));
    const std::vector<std::string> expected = {
        "button 1058",     "button 1056", "button 1066",
        "key 7",           "key r",       "key " + std::to_string(Qt::Key_Return),
        "message 1034 0 5"};
    EXPECT_EQ(phone_.calls, expected);
}

TEST_F(PhoneWindowTest, TheNewMessageCountSitsOnTheAnsweringMachineIndicator) {
    Open();
    QLabel* badge = window_->MessageBadge();
    ASSERT_NE(badge, nullptr);
    EXPECT_FALSE(badge->isVisible()) << "nothing new at first";
    const QRect indicator = window_->Control(IDC_PIC_ANSWERING)->geometry();
    struct Case {
        int count;
        bool shown;
        const char* text;
        const char* tip;
    };
    const Case cases[] = {
        {1, true, "1", "새 메시지 1"},    {12, true, "12", "새 메시지 12"},
        {99, true, "99", "새 메시지 99"}, {100, true, "99+", "새 메시지 100"},
        {0, false, "0", "새 메시지 0"},   {3, true, "3", "새 메시지 3"},
    };
    for (const Case& c : cases) {
        window_->SetNewMessageCount(c.count);
        EXPECT_EQ(window_->NewMessageCount(), c.count);
        EXPECT_EQ(badge->isVisible(), c.shown) << c.count;
        EXPECT_EQ(badge->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(badge->toolTip(), QString::fromUtf8(c.tip));
        EXPECT_EQ(badge->accessibleName(), badge->toolTip());
        // On the indicator's upper corner, wide enough for its text.
        EXPECT_TRUE(badge->geometry().intersects(indicator)) << c.count;
        EXPECT_GE(badge->width(), badge->fontMetrics().horizontalAdvance(badge->text()));
    }
    EXPECT_EQ(PhoneWindow::TrayToolTip(0), "Vantelo");
    EXPECT_EQ(PhoneWindow::TrayToolTip(4), "Vantelo\n새 메시지 4");
}

TEST_F(PhoneWindowTest, ShowsWhatThePhoneTellsIt) {
    Open();
    window_->SetStatusText("전화가 왔습니다.");
    window_->SetNumberText("홍길동\n0212345678");
    window_->SetIndicator(IDC_PIC_HOOK, IDB_HOOK_OFF);
    EXPECT_EQ(window_->StatusText(), "전화가 왔습니다.");
    EXPECT_EQ(window_->NumberText(), "홍길동\n0212345678");
    EXPECT_EQ(window_->Indicator(IDC_PIC_HOOK), IDB_HOOK_OFF);
    auto* picture = qobject_cast<QLabel*>(window_->Control(IDC_PIC_HOOK));
    EXPECT_EQ(
        picture->pixmap().toImage(),
        window_->Skin().Image(IDB_HOOK_OFF).convertToFormat(picture->pixmap().toImage().format()));

    EXPECT_EQ(window_->ButtonLook(IDC_HOOK), "HookOn");
    EXPECT_TRUE(window_->SetButtonLook(IDC_HOOK, "HookOff"));
    EXPECT_EQ(window_->Control(IDC_HOOK)->toolTip(), "Hook On");
    EXPECT_TRUE(ShowsImage(IDC_HOOK, IDB_MAIN_LIT_NORMAL));
    EXPECT_TRUE(window_->SetButtonLook(IDC_RECORD, "Record"));
    EXPECT_EQ(window_->Control(IDC_RECORD)->toolTip(), "녹취 멈춤");
    EXPECT_TRUE(window_->SetButtonLook(IDC_RECORD, "Stop"));
    EXPECT_EQ(window_->Control(IDC_RECORD)->toolTip(), "녹취 시작");
    EXPECT_TRUE(ShowsImage(IDC_RECORD, IDB_MAIN_NORMAL));
    EXPECT_TRUE(window_->SetButtonLook(IDC_ARS, "AbsenceOn"));
    EXPECT_EQ(window_->Control(IDC_ARS)->toolTip(), "부재중 설정 해제");
    EXPECT_TRUE(window_->SetButtonLook(IDC_MUTE, "MuteOn"));
    EXPECT_EQ(window_->Control(IDC_MUTE)->toolTip(), "Mute 해제");
    EXPECT_TRUE(window_->SetButtonLook(IDC_PLAY, "Play"));
    EXPECT_EQ(window_->Control(IDC_PLAY)->toolTip(), "재생 멈춤");
    // A look the button does not have, or a button without looks, changes nothing.
    EXPECT_FALSE(window_->SetButtonLook(IDC_HOOK, "Record"));
    EXPECT_FALSE(window_->SetButtonLook(IDC_FLASH, "HookOn"));
    EXPECT_EQ(window_->ButtonLook(IDC_HOOK), "HookOff");
}

TEST_F(PhoneWindowTest, HidesToTheTrayAndComesBackWithOneAnimationEach) {
    Open(true);
    ASSERT_TRUE(window_->HasTray());
    QMenu* menu = window_->TrayMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Open");
    EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
    EXPECT_TRUE(menu->actions()[0]->font().bold());
    EXPECT_EQ(menu->actions()[1]->text(), "Close");
    EXPECT_EQ(window_->TrayIcon()->toolTip(), "Vantelo");

    const QRect work(0, 0, 1280, 1000);
    const QRect target = PhoneWindow::TrayTarget(work);
    EXPECT_EQ(target.left(), 1280 - 150);
    EXPECT_EQ(target.top(), 1000 + 10);

    Click(IDC_HIDE);
    EXPECT_TRUE(window_->isHidden());
    EXPECT_EQ(window_->AnimationsDrawn(), 1);
    window_->HideToTray();  // already hidden: no animation
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_EQ(window_->AnimationsDrawn(), 1);

    // A double-click on the icon is the menu's first item.
    emit window_->TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(window_->AnimationsDrawn(), 2);
    ASSERT_TRUE(PumpUntil([&] { return window_->isVisible(); }));
    window_->ShowFromTray();  // already shown: no animation
    EXPECT_EQ(window_->AnimationsDrawn(), 2);

    window_->close();  // the close box hides
    EXPECT_TRUE(window_->isHidden());
    menu->actions()[1]->trigger();
    EXPECT_EQ(phone_.calls, std::vector<std::string>{"exit"});
}

TEST_F(PhoneWindowTest, WithoutATrayTheWindowMinimisesAndItsMenuCloses) {
    Open(false);
    EXPECT_FALSE(window_->HasTray());
    QMenu* menu = window_->SystemMenu();
    ASSERT_GE(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), "Vantelo 정보(&A)...");
    EXPECT_EQ(menu->actions().back()->text(), "Close");

    window_->close();
    EXPECT_FALSE(window_->isHidden());
    EXPECT_EQ(window_->AnimationsDrawn(), 0);
    menu->actions().back()->trigger();
    EXPECT_EQ(phone_.calls, std::vector<std::string>{"exit"});
    window_->CloseForExit();
    EXPECT_TRUE(window_->isHidden());
}

// Without a tray icon nothing of the window is missing: the same controls,
// the pages, the status line and the messages from the line.
TEST_F(PhoneWindowTest, WithoutATrayIconTheWindowIsBuiltCompletely) {
    std::set<int> withTray;
    Open(true);
    for (int id = 1000; id < 1300; ++id)
        if (window_->Control(id))
            withTray.insert(id);
    window_.reset();
    Open(false);
    std::set<int> without;
    for (int id = 1000; id < 1300; ++id)
        if (window_->Control(id))
            without.insert(id);
    EXPECT_EQ(without, withTray);
    EXPECT_GT(without.size(), 30u);
    for (int page : {IDC_PAGE_INNERLINE, IDC_PAGE_SETTINGS, IDC_PAGE_ADDRESSBOOK})
        Click(page);
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
    window_->SetStatusText("장치가 연결되었습니다.");
    EXPECT_EQ(window_->StatusText(), "장치가 연결되었습니다.");
    window_->MessageWindow().Post(0x8032, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !phone_.calls.empty(); }));
    EXPECT_EQ(phone_.calls.back(), "message 32818 0 0");
}

TEST_F(PhoneWindowTest, TheWindowsMenuOpensTheAboutBox) {
    Open();
    QTest::mouseClick(window_.get(), Qt::RightButton, {}, QPoint(100, 20));
    EXPECT_TRUE(window_->SystemMenu()->isVisible());
    window_->SystemMenu()->hide();

    QString title, text;
    QTimer::singleShot(20, [&] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        for (QLabel* l : box->findChildren<QLabel*>()) text += l->text() + "|";
        Click(box->findChild<QPushButton*>("ok"));
    });
    window_->SystemMenu()->actions()[0]->trigger();
    EXPECT_EQ(title, "반텔로 정보");
    EXPECT_TRUE(text.contains("Vantelo Manager 버전 2.1"));
}

TEST_F(PhoneWindowTest, DraggingTheBackgroundMovesTheWindow) {
    Open();
    window_->move(100, 100);
    const QPoint start = window_->pos();
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(100, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 45), window_->mapToGlobal(QPointF(130, 45)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &move);
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(130, 45));
    EXPECT_EQ(window_->pos(), start + QPoint(30, 25));
}

}  // namespace
}  // namespace vantelo::pages::test
