// Pictures of the phone window as the X server shows it (run it under
// xvfb-run): the window on each page and the ring pop-up, written into a
// folder. It fills a private temporary database with a few contacts. The
// window speaks the language of the locale (LANG=en_US.UTF-8: English).
//   vantelo_screenshot OUT-FOLDER
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QSlider>
#include <QThread>
#include <cstdio>
#include <filesystem>

#include "AddressBookPage.h"
#include "BlockListDialog.h"
#include "CallListPage.h"
#include "IdlePhone.h"
#include "PhoneWindow.h"
#include "RingPopup.h"
#include "SettingsPage.h"
#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneIds.h"

namespace fs = std::filesystem;
using namespace vantelo::pages;

namespace {

void FillCalls() {
    struct Call {
        int mode;
        const char* name;
        const char* num;
        int day, hour, minute;
        long seconds;
        bool rec;
        const char* memo;
    };
    const Call calls[] = {
        {1, "이하은", "0221112222", 3, 9, 2, 187, true, ""},
        {0, "두리상사", "0317654321", 3, 10, 15, 64, false, "납기 확인"},
        {2, "", "0629998888", 3, 12, 31, 0, false, ""},
        {0, "오세훈", "310", 3, 14, 0, 22, false, ""},
        {1, "박지호", "01077778888", 4, 8, 47, 356, true, "계약서 검토 요청"},
        {3, "", "0413334444", 4, 18, 22, 18, true, "배송 문의"},
        {0, "강민준", "0212345678", 4, 11, 5, 97, false, ""},
        {1, "김서연", "01055556666", 5, 9, 40, 45, false, ""},
        {2, "정도윤", "0512223333", 5, 13, 12, 0, false, ""},
        {0, "누리소프트", "0221112222", 5, 16, 30, 512, true, "견적 회신"},
        {1, "최유진", "301", 6, 10, 8, 33, false, ""},
        {0, "", "1588-0000", 6, 11, 55, 140, false, ""},
        {1, "강민준", "0212345678", 6, 15, 26, 268, true, ""},
        {0, "강민준", "0212345678", 7, 9, 12, 125, false, "견적서 보내기"},
        {1, "김서연", "01055556666", 7, 10, 40, 342, true, ""},
        {2, "", "0317654321", 7, 13, 5, 0, false, ""},
        {0, "최유진", "301", 7, 14, 22, 48, false, ""},
        {3, "", "0551234567", 7, 19, 3, 31, true, "자동응답 메시지"},
        {1, "이하은", "0221112222", 8, 8, 55, 611, true, "회의 일정 변경"},
        {4, "멘트녹음", "", 8, 9, 30, 12, true, ""},
        {0, "박지호", "01077778888", 8, 11, 2, 95, false, "DTMF 안내"},
        {2, "정도윤", "0512223333", 8, 12, 47, 0, false, ""},
        {1, "한지민", "302", 8, 15, 10, 204, false, ""},
    };
    vantelo::CRSCallList log;
    if (!log.Open().ok())
        return;
    for (const Call& c : calls) {
        vantelo::CallRecord r;
        r.CallMode = c.mode;
        r.CallName = c.name;
        r.CallNum = c.num;
        r.CallDate = {2026, 12, c.day, c.hour, c.minute, (c.minute * 7 + c.day) % 60};
        r.CallTime = c.seconds;
        r.CallRec = c.rec;
        r.CallbInner = std::string(c.num).size() == 3;
        r.CallDtmf = c.mode == 0 && c.seconds == 95 ? "1#" : "";
        if (c.rec) {
            r.CallRecDirectory = "Record/2026-12-0" + std::to_string(c.day) + "/";
            r.CallRecFileName = "0" + std::to_string(c.hour % 10) + "0000.wav";
        }
        r.CallMemo = c.memo;
        if (!log.AppendCall(r, vt::SystemClock::Instance()).ok())
            return;
    }
}

void Wait(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool Grab(QWidget& w, const fs::path& file) {
    const QRect area = w.frameGeometry();
    QPixmap shot = w.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    std::printf("%s: %dx%d\n", file.c_str(), shot.width(), shot.height());
    return shot.save(QString::fromStdString(file.string()));
}

void Fill() {
    const char* book[][6] = {
        {"강민준", "가족", "0212345678", "01012345678", "한빛전자", "minjun@example.com"},
        {"김서연", "친구", "0317654321", "01055556666", "두리상사", "seoyeon@example.com"},
        {"박지호", "회사", "", "01077778888", "반텔로", "jiho@vantelo.example"},
        {"이하은", "회사", "0221112222", "", "누리소프트", "haeun@example.com"},
        {"정도윤", "동호회", "0512223333", "01099990000", "", ""},
    };
    vantelo::CRSAddressList addresses;
    if (addresses.Open().ok())
        for (const auto& b : book) {
            vantelo::ContactRecord c;
            c.fields[0] = b[0];
            c.fields[1] = b[1];
            c.fields[2] = b[2];
            c.fields[4] = b[3];
            c.fields[5] = b[4];
            c.fields[14] = b[5];
            c.fields[17] = std::string(b[0]) + "님 메모";
            if (!addresses.AddContact(c).ok())
                return;
        }
    const char* inner[][4] = {{"최유진", "영업부", "과장", "301"},
                              {"한지민", "기술부", "대리", "302"},
                              {"오세훈", "총무부", "부장", "310"}};
    vantelo::CRSInnerLineList lines;
    if (lines.Open().ok())
        for (const auto& i : inner) {
            vantelo::ContactRecord c;
            c.fields[0] = i[0];
            c.fields[1] = "회사";
            c.fields[6] = i[1];
            c.fields[7] = i[2];
            c.fields[12] = i[3];
            if (!lines.AddContact(c).ok())
                return;
        }
}

// A few screening rules, some of which have stopped calls.
void FillRules() {
    struct Rule {
        const char* pattern;
        vantelo::RuleKind kind;
        vantelo::BlockAction action;
        const char* note;
        int hits;
    };
    using vantelo::BlockAction;
    using vantelo::RuleKind;
    const Rule rules[] = {
        {"070*", RuleKind::Block, BlockAction::Ignore, "인터넷 전화 광고", 12},
        {"07012345678", RuleKind::Permit, BlockAction::HangUp, "거래처 대표번호", 3},
        {"1588*", RuleKind::Block, BlockAction::Greeting, "상담 권유", 5},
        {"withheld", RuleKind::Block, BlockAction::HangUp, "번호 표시 제한", 2},
        {"0629998888", RuleKind::Block, BlockAction::HangUp, "", 0},
    };
    vantelo::CRSBlockList list(vantelo::DefaultDatabasePath());
    for (const Rule& r : rules) {
        vantelo::ScreeningRule rule;
        rule.pattern = r.pattern;
        rule.kind = r.kind;
        rule.action = r.action;
        rule.note = r.note;
        if (!list.Add(rule).ok())
            return;
        for (int i = 0; i < r.hits; ++i)
            if (!list.RecordHit(r.pattern, {2026, 12, 8, 9 + i % 9, 10 + i, 0}).ok())
                return;
    }
}

// A status line's text in the loaded language.
QString Status(const char* text) {
    return QString::fromStdString(vt::i18n::Tr(vantelo::text::kContext, text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vantelo_screenshot OUT-FOLDER\n");
        return 2;
    }
    const fs::path out = fs::absolute(argv[1]);
    fs::create_directories(out);
    vt::test::TestEnvironment env;  // a private database for the pictures
    // The language as the program chooses it (the private settings have none).
    vt::i18n::LoadForUser({"vantelo", "vantelo_core", "vantelo_pages"});
    QApplication app(argc, argv);
    vt::i18n::InstallIntoApplication();
    if (!vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok())
        return 1;
    Fill();
    FillCalls();
    FillRules();

    IdlePhone phone;
    IdlePhone& log = phone;
    PhoneWindow::Setup setup;
    setup.database = vantelo::DefaultDatabasePath();
    setup.tray = false;
    PhoneWindow window(phone, setup);
    window.move(30, 30);
    window.show();
    window.SetStatusText(Status(vantelo::text::kDeviceConnected));
    window.SetNumberText(QStringLiteral("0212345678"));
    Wait(300);
    window.AddressBook().Grid().SelectRow(1);
    Wait(200);
    bool ok = Grab(window, out / "phone-addressbook.png");
    window.SwitchPage(1);
    Wait(200);
    ok = Grab(window, out / "phone-innerline.png") && ok;
    CallListPage* calls = CallListPage::InstallInto(window, log, setup.database);
    window.SwitchPage(2);
    calls->Grid().SelectRow(4);
    Wait(200);
    ok = Grab(window, out / "phone-calllog.png") && ok;
    // Playing the selected recording on the headset, a third of the way in.
    calls->SetButtonLook(IDC_CL_PLAY, QStringLiteral("Pause"));
    calls->SetButtonLook(IDC_CL_HEADSET, QStringLiteral("Headset"));
    static_cast<QSlider*>(calls->Control(IDC_CL_SLIDER))->setValue(35);
    window.SetIndicator(IDC_PIC_PLAYBACK, IDB_PLAYBACK_ON);
    Wait(200);
    ok = Grab(window, out / "phone-calllog-playing.png") && ok;
    calls->SetButtonLook(IDC_CL_PLAY, QStringLiteral("Play"));
    calls->SetButtonLook(IDC_CL_HEADSET, QStringLiteral("Speaker"));
    static_cast<QSlider*>(calls->Control(IDC_CL_SLIDER))->setValue(0);
    window.SetIndicator(IDC_PIC_PLAYBACK, IDB_PLAYBACK_OFF);
    window.SwitchPage(0);
    window.AddressBook().Grid().SelectRow(1);
    window.BeginContactEdit(true, window.AddressBook().Records().CurrentContact().value(),
                            window.AddressBook().Groups());
    Wait(200);
    ok = Grab(window, out / "phone-contactedit.png") && ok;
    window.CancelContactEdit();
    window.SwitchPage(3);
    Wait(200);
    ok = Grab(window, out / "phone-settings.png") && ok;
    window.Settings().OpenBlockList();
    if (BlockListDialog* editor = window.Settings().BlockList()) {
        editor->move(window.pos() + QPoint(80, 60));
        editor->Grid().SelectRow(0);
        Wait(300);
        ok = Grab(*editor, out / "phone-blocklist.png") && ok;
        editor->close();
    }
    window.SwitchPage(0);

    window.SetIndicator(IDC_PIC_HOOK, IDB_HOOK_OFF);
    window.SetIndicator(IDC_PIC_RECORDING, IDB_RECORDING_ON);
    window.SetButtonLook(IDC_HOOK, QStringLiteral("HookOff"));
    window.SetButtonLook(IDC_RECORD, QStringLiteral("Record"));
    window.SetStatusText(Status(vantelo::text::kInCall));
    window.SetNumberText(QStringLiteral("강민준\n0212345678"));
    window.ShowRingPopup(QStringLiteral("강민준\n0212345678"));
    Wait(700);
    ok = Grab(window, out / "phone-call.png") && ok;
    if (RingPopup* popup = window.Popup())
        ok = Grab(*popup, out / "ring-popup.png") && ok;
    return ok ? 0 : 1;
}
