// The call log page in the phone window on a real database: the rows newest
// first, the kind tabs and searches, memo, deletions with their recordings,
// both backups byte for byte, the CSV export, dialling and keys.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "CallListPage.h"
#include "PhoneFixture.h"
#include "PhoneLayout.h"
#include "SettingsPage.h"
#include "VtdbProgram.h"
#include "WindowFixture.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "testsupport/FileDialogProbe.h"
#include "testsupport/QtPump.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinSlider.h"

namespace vantelo::pages::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The second field of each line vtdb printed (the name of a call or of a
// contact), sorted.
std::vector<std::string> Names(const std::string& lines) {
    std::vector<std::string> names;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string first, second;
        std::getline(fields, first, '\t');
        std::getline(fields, second, '\t');
        names.push_back(second);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Database files that this process still has open but that are gone from
// the folder.
std::vector<std::string> LostDatabaseFiles() {
    std::vector<std::string> lost;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (!ec && target.find(kDatabaseFileName) != std::string::npos &&
            target.ends_with(" (deleted)"))
            lost.push_back(target);
    }
    return lost;
}

// The phone behind the page: names, and a scripted line for its playback.
class LogActions : public CallLogActions {
public:
    std::string LookupName(const std::string& number) override { return "name of " + number; }
    PhoneLine& Line() override { return line; }
    bool IsRecording() const override { return false; }
    bool IsPlaying() const override { return playing; }
    bool IsAbsenceMode() const override { return false; }
    void SetPlaying(bool on) override { playing = on; }
    void ShowPlaying(bool) override {}
    void SetStatusText(const std::string& text) override { status = text; }
    void WriteLog(const std::string&) override {}
    fs::path ApplicationFolder() const override { return vt::ApplicationFolder(); }
    vantelo::test::ScriptLine line;
    bool playing = false;
    std::string status;
};

class CallListPageTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        recDir_ = (vt::ApplicationFolder() / "Record" / "2007-03-12").string() + "/";
        fs::create_directories(recDir_);
        dest_ = vt::ApplicationFolder() / "backups";
    }
    void TearDown() override {
        page_ = nullptr;
        WindowFixture::TearDown();
    }

    void Append(int mode, const std::string& name, const std::string& num, vt::LocalTime at,
                long seconds = 0, const std::string& rec = "", const std::string& memo = "",
                bool inner = false) {
        CallRecord call;
        call.CallMode = mode;
        call.CallName = name;
        call.CallNum = num;
        call.CallDate = at;
        call.CallTime = seconds;
        call.CallMemo = memo;
        call.CallbInner = inner;
        if (!rec.empty()) {
            call.CallRec = true;
            call.CallRecDirectory = recDir_;
            call.CallRecFileName = rec;
            std::ofstream(recDir_ + rec, std::ios::binary) << "RIFF" << rec;
        }
        CRSCallList log;
        ASSERT_TRUE(log.Open().ok());
        ASSERT_TRUE(log.AppendCall(call, vt::SystemClock::Instance()).ok());
    }
    void Sample() {
        Append(0, "김철수", "0212345678", {2007, 3, 12, 9, 5, 7}, 125, "", "다시 전화");
        Append(1, "Lee", "0311112222", {2007, 3, 12, 10, 0, 0}, 61, "100000.wav");
        Append(2, "kimura", "5551234", {2007, 3, 11, 8, 0, 0});
        Append(3, "Park", "301", {2007, 3, 12, 11, 0, 0}, 3, "110000.vrc", "", true);
        Append(9, "odd", "", {2007, 3, 13, 0, 0, 1});
    }
    void OpenPage() {
        Open();
        page_ = CallListPage::InstallInto(*window_, actions_, DefaultDatabasePath());
        page_->SetFolderChooser([this]() -> std::optional<fs::path> {
            if (dest_.empty())
                return std::nullopt;
            return dest_;
        });
        Click(IDC_PAGE_CALLLOG);
        ASSERT_EQ(window_->ShownPage(), IDD_CALLLOG);
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (int r = 0; r < page_->Grid().RowCount(); ++r)
            out.push_back(page_->CellText(r, column).toStdString());
        return out;
    }
    void ClickRow(int row) {
        QTest::mouseClick(page_->Grid().viewport(), Qt::LeftButton, {},
                          page_->Grid().CellRect(row, 0).center());
    }
    void DoubleClick(int row, int column) {
        const QPoint at = page_->Grid().CellRect(row, column).center();
        QTest::mouseClick(page_->Grid().viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(page_->Grid().viewport(), Qt::LeftButton, {}, at);
    }
    void ChooseTarget(int index) {
        auto* combo = qobject_cast<QComboBox*>(page_->Control(IDC_CL_TARGET));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void SearchFor(const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(page_->Control(IDC_CL_SEARCH_EDIT));
        edit->setFocus();
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Answers the message boxes that come up while `action` runs, in order,
    // and returns what each said.
    QStringList AnswerBoxes(std::vector<QMessageBox::StandardButton> buttons,
                            const std::function<void()>& action) {
        auto said = std::make_shared<QStringList>();
        auto done = std::make_shared<bool>(false);
        auto last = std::make_shared<QPointer<QMessageBox>>();
        auto poll = std::make_shared<std::function<void()>>();
        auto tries = std::make_shared<int>(0);
        *poll = [=] {
            if (*done || ++*tries > 3000 || said->size() == static_cast<int>(buttons.size()))
                return;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box != last->data()) {
                *last = box;
                said->append(box->windowTitle() + "|" + box->text());
                if (QAbstractButton* b = box->button(buttons[static_cast<std::size_t>(said->size() - 1)]))
                    b->click();
                else
                    box->reject();
            }
            QTimer::singleShot(10, *poll);
        };
        QTimer::singleShot(10, *poll);
        action();
        *done = true;
        EXPECT_EQ(said->size(), static_cast<int>(buttons.size())) << said->join(" / ").toStdString();
        return *said;
    }
    QString MemoBox() {
        return qobject_cast<QPlainTextEdit*>(window_->Control(1057))->toPlainText();
    }

    LogActions actions_;
    CallListPage* page_ = nullptr;
    std::string recDir_;
    fs::path dest_;
};

using V = std::vector<std::string>;

TEST_F(CallListPageTest, RowsNewestFirstWithTheirFormats) {
    Sample();
    OpenPage();
    EXPECT_EQ(page_->Grid().ColumnCount(), 11);
    EXPECT_EQ(page_->Grid().Column(10).heading, "메모");
    EXPECT_EQ(qobject_cast<QTabBar*>(page_->Control(IDC_CL_TABS))->count(), 7);
    EXPECT_EQ(Column(0), V({"000005", "000004", "000003", "000002", "000001"}));
    EXPECT_EQ(Column(1), V({"", "응답", "부재", "수신", "발신"}));
    EXPECT_EQ(Column(2), V({"07-03-13", "07-03-12", "07-03-11", "07-03-12", "07-03-12"}));
    EXPECT_EQ(Column(3), V({"00:00:01", "11:00:00", "08:00:00", "10:00:00", "09:05:07"}));
    EXPECT_EQ(Column(6), V({"00:00", "00:03", "00:00", "01:01", "02:05"}));
    EXPECT_EQ(Column(7), V({"X", "O", "X", "O", "X"}));
    EXPECT_EQ(Column(9), V({"X", "O", "X", "X", "X"}));

    // The selected row's memo goes to the memo box; saving changes it.
    ClickRow(4);
    EXPECT_EQ(MemoBox(), "다시 전화");
    window_->SaveMemoOnShownPage("새 메모");
    EXPECT_EQ(page_->CellText(4, 10), "새 메모");
    CRSCallList log;
    ASSERT_TRUE(log.Open().ok());
    ASSERT_TRUE(log.MoveFirst().ok());
    EXPECT_EQ(log.CurrentCall().value().CallMemo, "새 메모");
}

TEST_F(CallListPageTest, SkinnedButtonsWithTheirTipsAndLooksByName) {
    Sample();
    OpenPage();
    EXPECT_EQ(page_->size(), PhoneLayout::kPageArea.size());
    const std::map<int, QString> tips = {
        {IDC_CL_SEARCH, "검색"},
        {IDC_CL_DELETE, "하나의 선택 목록을 삭제"},
        {IDC_CL_DELETE_ALL, "전체 목록을 삭제"},
        {IDC_CL_BACKUP_ALL, "전체 목록을 백업"},
        {IDC_CL_BACKUP, "선택된 하나의 목록 백업"},
        {IDC_CL_PLAY, "선택된 녹취파일 재생"},
        {IDC_CL_STOP, "재생 멈춤"},
        {IDC_CL_HEADSET, "헤드셋으로 듣기"},
        {IDC_CL_EXPORT_CSV, "보이는 통화 목록을 CSV 파일로 내보내기"}};
    for (const auto& [id, tip] : tips) {
        auto* b = qobject_cast<vt::widgets::SkinButton*>(page_->Control(id));
        ASSERT_NE(b, nullptr) << id;
        EXPECT_EQ(b->toolTip(), tip) << id;
        EXPECT_EQ(b->geometry(), PhoneLayout::RectOf(PhoneLayout::CallLogPageControls(), id));
        // The button shows its own part of the page's images, not the backdrop.
        const QImage shown = b->CurrentPicture().toImage();
        EXPECT_NE(shown, window_->Skin().Image(IDB_CALLLOG_BACK).copy(b->geometry())) << id;
    }
    auto* slider = qobject_cast<vt::widgets::SkinSlider*>(page_->Control(IDC_CL_SLIDER));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->value(), 0);

    // The page paints its background picture under the controls.
    const QImage painted = page_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint backdrop(296, 452);  // on the strip's plate, beside the buttons
    EXPECT_EQ(painted.pixel(4, 200), window_->Skin().Image(IDB_CALLLOG_BACK).pixel(4, 200));
    EXPECT_EQ(painted.pixel(backdrop), window_->Skin().Image(IDB_CALLLOG_BACK).pixel(backdrop));

    // Looks by name: play, pause and decoding on 1036; speaker and headset on 1141.
    auto picture = [&](int id) {
        return qobject_cast<vt::widgets::SkinButton*>(page_->Control(id))
            ->CurrentPicture()
            .toImage();
    };
    EXPECT_EQ(page_->ButtonLook(IDC_CL_PLAY), "Play");
    EXPECT_EQ(page_->ButtonLook(IDC_CL_HEADSET), "Speaker");
    const QImage play = picture(IDC_CL_PLAY), speaker = picture(IDC_CL_HEADSET);
    ASSERT_TRUE(page_->SetButtonLook(IDC_CL_PLAY, "Pause"));
    const QImage pause = picture(IDC_CL_PLAY);
    ASSERT_TRUE(page_->SetButtonLook(IDC_CL_PLAY, "Decoding"));
    const QImage decoding = picture(IDC_CL_PLAY);
    EXPECT_NE(play, pause);
    EXPECT_NE(play, decoding);
    EXPECT_NE(pause, decoding);
    EXPECT_EQ(picture(IDC_CL_HEADSET), speaker);  // one button's look leaves the other
    EXPECT_FALSE(page_->SetButtonLook(IDC_CL_PLAY, "Headset"));
    EXPECT_FALSE(page_->SetButtonLook(IDC_CL_STOP, "Pause"));
    EXPECT_EQ(page_->ButtonLook(IDC_CL_PLAY), "Decoding");
    ASSERT_TRUE(page_->SetButtonLook(IDC_CL_HEADSET, "Headset"));
    EXPECT_NE(picture(IDC_CL_HEADSET), speaker);
    EXPECT_EQ(page_->ButtonLook(IDC_CL_HEADSET), "Headset");
    ASSERT_TRUE(page_->SetButtonLook(IDC_CL_PLAY, "Play"));
    EXPECT_EQ(picture(IDC_CL_PLAY), play);

    // The skinned buttons still act: Play plays the selected row's recording.
    Click(page_->Control(IDC_CL_HEADSET));  // to the adapter
    ClickRow(3);
    Click(page_->Control(IDC_CL_PLAY));
    EXPECT_TRUE(actions_.line.Called("WaveOutSub 100000.wav 0 raw=0"));
    EXPECT_EQ(page_->ButtonLook(IDC_CL_PLAY), "Pause");
}

TEST_F(CallListPageTest, KindTabsAndSearchesNarrowTheList) {
    Sample();
    OpenPage();
    auto* tabs = qobject_cast<QTabBar*>(page_->Control(IDC_CL_TABS));
    tabs->setCurrentIndex(2);  // "착신": received, missed, answered
    EXPECT_EQ(Column(4), V({"Park", "kimura", "Lee"}));
    tabs->setCurrentIndex(4);
    EXPECT_EQ(Column(4), V({"kimura"}));

    auto* edit = page_->Control(IDC_CL_SEARCH_EDIT);
    EXPECT_FALSE(edit->isEnabled());
    ChooseTarget(1);  // name
    EXPECT_TRUE(edit->isEnabled());
    SearchFor("im");  // ordered by date; newest on top
    EXPECT_EQ(Column(4), V({"kimura"}));
    ChooseTarget(3);  // date, typed with hyphens
    SearchFor("07-03-12");
    EXPECT_EQ(Column(4), V({"Park", "Lee", "김철수"}));
    const QString said = AnswerMessageBox(QMessageBox::Ok, [&] { SearchFor("07-3-12"); });
    EXPECT_EQ(said, "Vantelo|정확한 날짜를 입력해 주세요. (예, YYMMDD 또는 YY-MM-DD).");
    EXPECT_EQ(page_->Grid().RowCount(), 3);  // unchanged
    ChooseTarget(0);  // everything again, the edit cleared
    EXPECT_EQ(page_->Grid().RowCount(), 5);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(qobject_cast<QLineEdit*>(edit)->text().isEmpty());
}

TEST_F(CallListPageTest, DialsPlaysAndHandsKeysToThePhone) {
    Sample();
    OpenPage();
    DoubleClick(4, 5);  // outside number
    DoubleClick(1, 5);  // extension
    phone_.lineBusy = true;
    DoubleClick(3, 5);  // refused while the line is in use
    phone_.lineBusy = false;
    Click(page_->Control(IDC_CL_HEADSET));  // to the adapter
    DoubleClick(3, 7);
    V dials;
    for (const std::string& c : phone_.calls)
        if (c.rfind("key", 0) != 0 && c != "busy?")
            dials.push_back(c);
    EXPECT_EQ(dials, V({"dial 0212345678", "hook", "name name of 0212345678", "dial 301",
                        "inner", "name name of 301"}));
    EXPECT_TRUE(actions_.line.Called("WaveOutSub 100000.wav 0 raw=0"));
    EXPECT_EQ(page_->Player().State(), PlayState::Running);

    phone_.calls.clear();
    page_->Grid().setFocus();
    QTest::keyClicks(&page_->Grid(), "5#");
    auto* edit = qobject_cast<QLineEdit*>(page_->Control(IDC_CL_SEARCH_EDIT));
    ChooseTarget(2);
    edit->setFocus();
    QTest::keyClicks(edit, "55");  // the search edit keeps its digits
    EXPECT_EQ(edit->text(), "55");
    EXPECT_EQ(phone_.calls, V({"key 5", "key #"}));
}

TEST_F(CallListPageTest, ContextMenuDialsDeletesAndBacksUpItsRow) {
    Sample();
    OpenPage();
    auto openMenuOn = [&](int row) {
        const QPoint at = page_->Grid().CellRect(row, 0).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                page_->Grid().viewport()->mapToGlobal(at));
        QApplication::sendEvent(page_->Grid().viewport(), &event);
        return page_->Grid().OpenContextMenu();
    };
    QMenu* menu = openMenuOn(4);
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions()) items << a->text();
    EXPECT_EQ(items, QStringList({"삭제", "백업", "Dial", "CSV로 내보내기", "차단"}));
    menu->actions()[2]->trigger();
    EXPECT_NE(std::find(phone_.calls.begin(), phone_.calls.end(), "dial 0212345678"),
              phone_.calls.end());
    menu->close();

    menu = openMenuOn(0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(AnswerMessageBox(QMessageBox::Yes, [&] { menu->actions()[0]->trigger(); }),
              "Vantelo|선택된 데이터가 삭제됩니다.\n\n삭제하시겠습니까?");
    EXPECT_EQ(Column(4), V({"Park", "kimura", "Lee", "김철수"}));
    menu->close();

    menu = openMenuOn(2);
    ASSERT_NE(menu, nullptr);
    AnswerBoxes({QMessageBox::No, QMessageBox::Ok}, [&] { menu->actions()[1]->trigger(); });
    EXPECT_EQ(ReadAll(dest_ / "Logo.txt").substr(0, 12), "2 : 수신\r\n");
    EXPECT_EQ(page_->Grid().RowCount(), 4);
}

// The patterns of the stored screening rules, each checked to be a hangup block.
std::vector<std::string> BlockedPatterns() {
    CRSBlockList rules(DefaultDatabasePath());
    EXPECT_TRUE(rules.Open().ok());
    auto all = rules.Rules();
    EXPECT_TRUE(all.ok()) << all.status().message();
    std::vector<std::string> patterns;
    if (all.ok())
        for (const ScreeningRule& r : all.value()) {
            EXPECT_EQ(r.kind, RuleKind::Block) << r.pattern;
            EXPECT_EQ(r.action, BlockAction::HangUp) << r.pattern;
            patterns.push_back(r.pattern);
        }
    return patterns;
}

TEST_F(CallListPageTest, ContextMenuBlocksTheRowsNumberOnce) {
    Sample();
    Append(1, "dashed", "*031-555#1234", {2007, 3, 14, 8, 0, 0});
    OpenPage();
    auto chooseBlockOn = [&](int row) {
        const QPoint at = page_->Grid().CellRect(row, 0).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                page_->Grid().viewport()->mapToGlobal(at));
        QApplication::sendEvent(page_->Grid().viewport(), &event);
        QMenu* menu = page_->Grid().OpenContextMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().last()->text(), "차단");
        menu->actions().last()->trigger();
        menu->close();
    };
    ASSERT_EQ(Column(4), V({"dashed", "odd", "Park", "kimura", "Lee", "김철수"}));

    chooseBlockOn(4);
    EXPECT_EQ(window_->StatusText(), "차단 목록에 추가했습니다: 0311112222");
    EXPECT_EQ(BlockedPatterns(), V({"0311112222"}));

    chooseBlockOn(4);  // refused: nothing more is stored
    EXPECT_EQ(window_->StatusText(), "이미 차단 목록에 있는 번호입니다: 0311112222");
    EXPECT_EQ(BlockedPatterns(), V({"0311112222"}));

    chooseBlockOn(1);  // a call without a number
    EXPECT_EQ(window_->StatusText(), "차단할 번호가 없습니다.");
    EXPECT_EQ(BlockedPatterns(), V({"0311112222"}));

    chooseBlockOn(0);  // only the digits make the pattern
    EXPECT_EQ(window_->StatusText(), "차단 목록에 추가했습니다: 0315551234");
    EXPECT_EQ(BlockedPatterns(), V({"0311112222", "0315551234"}));
    // The call log itself is left as it was.
    EXPECT_EQ(page_->Grid().RowCount(), 6);
}

TEST_F(CallListPageTest, DeletingSelectedAndAllRemovesRecordings) {
    Sample();
    OpenPage();
    ClickRow(3);  // Lee, with a recording
    EXPECT_EQ(AnswerMessageBox(QMessageBox::No, [&] { Click(page_->Control(IDC_CL_DELETE)); }),
              "Vantelo|선택된 데이터가 삭제됩니다.\n\n삭제하시겠습니까?");
    EXPECT_EQ(page_->Grid().RowCount(), 5);
    ClickRow(3);
    AnswerMessageBox(QMessageBox::Yes, [&] { Click(page_->Control(IDC_CL_DELETE)); });
    EXPECT_EQ(Column(4), V({"odd", "Park", "kimura", "김철수"}));
    EXPECT_FALSE(fs::exists(recDir_ + "100000.wav"));

    // A recording that cannot be removed keeps its record (a folder full of
    // things stands in for the file: even root cannot unlink it).
    fs::remove(recDir_ + "110000.vrc");
    fs::create_directories(recDir_ + "110000.vrc/inside");
    ClickRow(1);
    const QStringList said =
        AnswerBoxes({QMessageBox::Yes, QMessageBox::Ok}, [&] { Click(page_->Control(IDC_CL_DELETE)); });
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[1].contains("110000.vrc"));
    EXPECT_EQ(page_->Grid().RowCount(), 4);
    fs::remove_all(recDir_ + "110000.vrc");

    EXPECT_EQ(AnswerMessageBox(QMessageBox::Cancel,
                               [&] { Click(page_->Control(IDC_CL_DELETE_ALL)); }),
              "Vantelo|모든 통화목록이 삭제됩니다. \n\n 통화 목록을 삭제하시겠습니까?");
    EXPECT_EQ(page_->Grid().RowCount(), 4);
    EXPECT_EQ(AnswerBoxes({QMessageBox::Ok, QMessageBox::Ok},
                          [&] { Click(page_->Control(IDC_CL_DELETE_ALL)); })
                  .last(),
              "Vantelo|통화 목록이 삭제되었습니다.");
    EXPECT_EQ(page_->Grid().RowCount(), 0);
    // The recordings are gone, then their empty day folder, then "Record".
    EXPECT_FALSE(fs::exists(recDir_));
    EXPECT_FALSE(fs::exists(vt::ApplicationFolder() / "Record"));
    EXPECT_EQ(AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_DELETE_ALL)); }),
              "Vantelo|선택된 날짜의 목록이 비어 있습니다.");
    EXPECT_EQ(AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_BACKUP_ALL)); }),
              "Vantelo|선택된 날짜의 목록이 비어 있습니다.");
    EXPECT_FALSE(fs::exists(dest_));
}

TEST_F(CallListPageTest, DeleteAllShowsItsProgressAndCanBeStopped) {
    Sample();
    OpenPage();
    // Stops the deletion through the progress dialog's button once it shows.
    QString shown;
    auto stop = std::make_shared<std::function<void()>>();
    // Zero timers, so one runs in the first pause between batches; given up
    // after thirty seconds.
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    *stop = [&, stop, since] {
        auto* progress = page_->findChild<QProgressDialog*>();
        if (progress && progress->isVisible()) {
            shown = progress->windowTitle() + "|" + progress->labelText();
            if (auto* cancel = progress->findChild<QPushButton*>())
                cancel->click();
            return;
        }
        if (!since->hasExpired(30000))
            QTimer::singleShot(0, *stop);
    };
    QTimer::singleShot(0, *stop);
    const QStringList said =
        AnswerBoxes({QMessageBox::Ok}, [&] { Click(page_->Control(IDC_CL_DELETE_ALL)); });
    EXPECT_EQ(shown, "Vantelo|통화 목록을 삭제하는 중입니다...");
    EXPECT_EQ(said, QStringList{
                        "Vantelo|모든 통화목록이 삭제됩니다. \n\n 통화 목록을 삭제하시겠습니까?"});
    EXPECT_EQ(actions_.status, "통화 목록 삭제를 취소했습니다. 지워진 것은 없습니다.");
    EXPECT_EQ(page_->Grid().RowCount(), 5);
    EXPECT_TRUE(fs::exists(recDir_ + "100000.wav"));
    EXPECT_TRUE(fs::exists(recDir_ + "110000.vrc"));
    EXPECT_FALSE(fs::exists(recDir_ + "100000.wav.deleting"));
    CRSCallList other;
    ASSERT_TRUE(other.Open().ok());
    EXPECT_EQ(other.GetRecordCount(), 5);
}

TEST_F(CallListPageTest, OpeningTheLogMendsAnUnfinishedDeletion) {
    Sample();
    // Left by a program that died while deleting: one call still logged, one gone.
    fs::rename(recDir_ + "100000.wav", recDir_ + "100000.wav.deleting");
    std::ofstream(recDir_ + "120000.wav.deleting") << "RIFF";
    OpenPage();
    EXPECT_EQ(ReadAll(recDir_ + "100000.wav"), "RIFF100000.wav");
    EXPECT_FALSE(fs::exists(recDir_ + "100000.wav.deleting"));
    EXPECT_FALSE(fs::exists(recDir_ + "120000.wav.deleting"));
    EXPECT_EQ(page_->Grid().RowCount(), 5);
}

// The log is read when it is first needed: when the page shows, when its
// rows are asked for, when a call is logged, and at the latest right after
// the window's first paint (which then mends an unfinished deletion too).
TEST_F(CallListPageTest, TheLogIsReadWhenFirstNeeded) {
    struct Case {
        const char* what;
        bool windowShown;
        std::function<void()> need;
    };
    const Case cases[] = {
        {"the page shows", true, [&] { Click(IDC_PAGE_CALLLOG); }},
        {"the window's first paint", true,
         [&] {
             EXPECT_TRUE(vt::test::PumpUntil([&] { return fs::exists(recDir_ + "100000.wav"); }));
         }},
        {"the rows are asked for", false, [&] { page_->Grid().RowCount(); }},
        {"a call is logged", false, [&] { page_->ShowNewCalls(); }},
    };
    Sample();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Left by a program that died while deleting.
        fs::rename(recDir_ + "100000.wav", recDir_ + "100000.wav.deleting");
        PhoneWindow::Setup setup;
        setup.database = DefaultDatabasePath();
        setup.popupTimers = &popupTimers_;
        setup.tray = false;
        window_ = std::make_unique<PhoneWindow>(phone_, setup);
        page_ = CallListPage::InstallInto(*window_, actions_, DefaultDatabasePath());
        EXPECT_TRUE(fs::exists(recDir_ + "100000.wav.deleting")) << "not read yet";
        if (c.windowShown) {
            window_->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        }
        c.need();
        EXPECT_EQ(ReadAll(recDir_ + "100000.wav"), "RIFF100000.wav");
        EXPECT_EQ(Column(4), V({"odd", "Park", "kimura", "Lee", "김철수"}));
        page_ = nullptr;
        window_.reset();
    }
}

TEST_F(CallListPageTest, BackupsWriteTheBlocksAndCopyRecordings) {
    Sample();
    OpenPage();
    // Nothing selected: the completion notice and no file.
    EXPECT_EQ(AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_BACKUP)); }),
              "Vantelo|통화 목록의 백업이 완료되었습니다.");
    EXPECT_FALSE(fs::exists(dest_));

    // Selected row 3 (Lee) is list number 2; Yes deletes it after the backup.
    ClickRow(3);
    const QStringList said =
        AnswerBoxes({QMessageBox::Yes, QMessageBox::Ok}, [&] { Click(page_->Control(IDC_CL_BACKUP)); });
    ASSERT_EQ(said.size(), 2);
    EXPECT_EQ(said[0], "Vantelo|백업 후 선택 통화 목록을 삭제하시겠습니까?\n\n'예'를 선택할 경우 백업 후 "
                       "선택 통화 목록이 삭제됩니다.");
    EXPECT_EQ(said[1], "Vantelo|통화 목록의 백업이 완료되었습니다.");
    EXPECT_EQ(ReadAll(dest_ / "Logo.txt"),
              "2 : 수신\r\n통화 시각 : 2007-03-12 10:00:00\r\n통화 시간 : 01:01\r\n이름 : Lee\r\n"
              "전화번호 : 0311112222\r\n녹음파일 :   /2007-03-12/100000.wav\r\n통화 메모 : "
              "\r\n\r\n");
    EXPECT_EQ(ReadAll(dest_ / "2007-03-12" / "100000.wav"), "RIFF100000.wav");
    EXPECT_FALSE(fs::exists(recDir_ + "100000.wav"));
    EXPECT_EQ(page_->Grid().RowCount(), 4);

    // Backup all with No keeps the log; the existing Logo.txt stays.
    AnswerBoxes({QMessageBox::No, QMessageBox::Ok}, [&] { Click(page_->Control(IDC_CL_BACKUP_ALL)); });
    const std::string all = ReadAll(dest_ / "Logo-2.txt");
    EXPECT_EQ(all.substr(0, all.find("\r\n")), "1 : 발신");
    EXPECT_NE(all.find("4 : Unknowon\r\n"), std::string::npos);
    EXPECT_NE(all.find("녹음파일 :   /2007-03-12/110000.vrc\r\n"), std::string::npos);
    EXPECT_EQ(page_->Grid().RowCount(), 4);

    // A cancelled folder choice changes nothing.
    dest_.clear();
    AnswerMessageBox(QMessageBox::Yes, [&] { Click(page_->Control(IDC_CL_BACKUP_ALL)); });
    EXPECT_EQ(page_->Grid().RowCount(), 4);
}

TEST_F(CallListPageTest, CsvExportWritesTheFilteredRows) {
    Sample();
    Append(1, "Kim, \"Jr\"", "0", {2007, 3, 14, 0, 0, 0}, 0, "", "two\nlines");
    OpenPage();
    const fs::path csv = vt::ApplicationFolder() / "calls.csv";
    page_->SetCsvFileChooser([&]() -> std::optional<fs::path> { return csv; });
    qobject_cast<QTabBar*>(page_->Control(IDC_CL_TABS))->setCurrentIndex(3);  // received
    EXPECT_FALSE(page_->Control(IDC_CL_EXPORT_CSV)->toolTip().isEmpty());
    AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_EXPORT_CSV)); });
    EXPECT_EQ(ReadAll(csv),
              "번호,종류,날짜,시간,이름,전화번호,통화,녹음,DTMF,내선,메모\r\n"
              "000002,수신,07-03-14,00:00:00,\"Kim, \"\"Jr\"\"\",0,00:00,X,,X,\"two\nlines\"\r\n"
              "000001,수신,07-03-12,10:00:00,Lee,0311112222,01:01,O,,X,\r\n");
}

// The export's bytes for each kind of text a call may hold, and for an empty
// list: the header, then one line per row as the grid shows it, quoted where
// a field holds a comma, a quote or a line end.
TEST_F(CallListPageTest, CsvExportQuotesOnlyWhatNeedsIt) {
    struct Case {
        const char* what;
        CallRecord call;  // none logged when it has no number
        const char* row;  // the line after the header; none when empty
    };
    auto call = [](const char* name, const char* number, const char* dtmf, const char* memo) {
        CallRecord c;
        c.CallMode = kCallReceived;
        c.CallName = name;
        c.CallNum = number;
        c.CallDate = {2007, 3, 12, 10, 0, 0};
        c.CallTime = 61;
        c.CallDtmf = dtmf;
        c.CallMemo = memo;
        return c;
    };
    const Case cases[] = {
        {"plain", call("Lee", "0311112222", "12#", "see you"),
         "000001,수신,07-03-12,10:00:00,Lee,0311112222,01:01,X,12#,X,see you\r\n"},
        {"comma", call("Kim, Jr", "02", "*", "a,b"),
         "000001,수신,07-03-12,10:00:00,\"Kim, Jr\",02,01:01,X,*,X,\"a,b\"\r\n"},
        {"quotes", call("say \"hi\"", "02", "", "\""),
         "000001,수신,07-03-12,10:00:00,\"say \"\"hi\"\"\",02,01:01,X,,X,\"\"\"\"\r\n"},
        {"line ends", call("cr\rlf\n", "02", "", "two\r\nlines"),
         "000001,수신,07-03-12,10:00:00,\"cr\rlf\n\",02,01:01,X,,X,\"two\r\nlines\"\r\n"},
        {"Korean and blanks", call(" 홍길동 ", "02", "", "  "),
         "000001,수신,07-03-12,10:00:00, 홍길동 ,02,01:01,X,,X,  \r\n"},
        {"empty list", CallRecord{}, ""},
    };
    const std::string header = "번호,종류,날짜,시간,이름,전화번호,통화,녹음,DTMF,내선,메모\r\n";
    const fs::path csv = vt::ApplicationFolder() / "calls.csv";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRSCallList log;
        ASSERT_TRUE(log.Open().ok());
        ASSERT_TRUE(log.DeleteAllCalls(vt::ApplicationFolder()).ok());
        CallRecord logged = c.call;
        if (!logged.CallNum.empty()) {
            ASSERT_TRUE(log.AppendCall(logged, vt::SystemClock::Instance()).ok());
        }
        OpenPage();
        page_->SetCsvFileChooser([&]() -> std::optional<fs::path> { return csv; });
        AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_EXPORT_CSV)); });
        EXPECT_EQ(ReadAll(csv), header + c.row);
        page_ = nullptr;
        window_.reset();
    }
}

// The export replaces a file whole and keeps it private; where it cannot be
// written it says so and leaves nothing behind.
TEST_F(CallListPageTest, CsvExportReplacesTheFileWholeOrLeavesNothing) {
    Sample();
    OpenPage();
    const fs::path csv = vt::ApplicationFolder() / "calls.csv";
    std::ofstream(csv) << std::string(10000, 'x');
    page_->SetCsvFileChooser([&]() -> std::optional<fs::path> { return csv; });
    EXPECT_EQ(AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_EXPORT_CSV)); }),
              "Vantelo|통화 목록 5건을 CSV 파일로 내보냈습니다.");
    const std::string written = ReadAll(csv);
    EXPECT_EQ(written.substr(0, written.find("\r\n")),
              "번호,종류,날짜,시간,이름,전화번호,통화,녹음,DTMF,내선,메모");
    EXPECT_EQ(written.find('x'), std::string::npos) << "nothing of the old file is left";
    EXPECT_EQ(fs::status(csv).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    const fs::path missing = vt::ApplicationFolder() / "no such folder" / "calls.csv";
    page_->SetCsvFileChooser([&]() -> std::optional<fs::path> { return missing; });
    EXPECT_EQ(
        AnswerMessageBox(QMessageBox::Ok, [&] { Click(page_->Control(IDC_CL_EXPORT_CSV)); }),
        QString("Vantelo|CSV 파일을 쓸 수 없습니다: ") + QString::fromStdString(missing.string()));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    for (const auto& e : fs::directory_iterator(vt::ApplicationFolder()))
        EXPECT_NE(e.path().filename().string().rfind(".calls.csv", 0), 0u)
            << "a temporary file is left: " << e.path();
}

// The window's file dialogs (the settings page's greeting, the CSV export,
// the backup's folder), each browsing the application folder while the
// pages hold the database. Afterwards another program reads and writes the
// same database, the page's deletion reaches it at once, and after both
// have ended nothing is lost.
class DialogBrowsingTest : public CallListPageTest,
                           public ::testing::WithParamInterface<const char*> {
protected:
    // Opens the dialog of the case; the backup first asks whether to delete
    // ("No" is answered), then asks for the folder.
    void OpenDialog(const std::string& title) {
        if (title == "Open File") {
            Click(IDC_PAGE_SETTINGS);
            Click(window_->Settings().Control(IDC_SP_PATH));
        } else if (title == "CSV로 내보내기") {
            Click(page_->Control(IDC_CL_EXPORT_CSV));
        } else {
            ClickRow(0);
            Click(page_->Control(IDC_CL_BACKUP));
        }
    }
    void ShowLog() {
        Click(IDC_PAGE_CALLLOG);
        ASSERT_EQ(window_->ShownPage(), IDD_CALLLOG);
    }
};

TEST_P(DialogBrowsingTest, BrowsingTheFolderKeepsTheDatabaseShared) {
    const std::string title = GetParam();
    Sample();
    Open();
    page_ = CallListPage::InstallInto(*window_, actions_, DefaultDatabasePath());
    ShowLog();
    auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    std::vector<std::string> calls = Column(4);  // newest first
    ASSERT_EQ(sorted(calls), sorted({"김철수", "Lee", "kimura", "Park", "odd"}));

    // The program's working folder, where every dialog starts. The poll
    // answers the question on the way with "No" and cancels the dialog once
    // it has looked at every file of the folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(vt::ApplicationFolder().string()));
    QString browsed;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::No)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal);
                   dialog && vt::test::ListedItsFolder(*dialog)) {
            browsed = dialog->windowTitle();
            dialog->reject();
        }
    });
    poll.start(10);
    OpenDialog(title);
    poll.stop();
    QDir::setCurrent(previous);
    ASSERT_EQ(browsed.toStdString(), title);

    // The other program reads, then writes.
    EXPECT_EQ(Names(Vtdb({"calls"})), sorted(calls));
    ASSERT_EQ(Vtdb({"add-contact", "Name=added", "Group=test"}), "1\n");

    // The page deletes a call: the other program sees it gone at once.
    ShowLog();
    ClickRow(0);
    AnswerMessageBox(QMessageBox::Yes, [&] { Click(page_->Control(IDC_CL_DELETE)); });
    calls.erase(calls.begin());
    ASSERT_EQ(Column(4), calls);
    EXPECT_EQ(Names(Vtdb({"calls"})), sorted(calls));
    EXPECT_EQ(LostDatabaseFiles(), std::vector<std::string>());

    page_ = nullptr;
    window_.reset();
    EXPECT_EQ(Names(Vtdb({"calls"})), sorted(calls));
    EXPECT_EQ(Names(Vtdb({"contacts", "--group", "test"})), std::vector<std::string>{"added"});
}

INSTANTIATE_TEST_SUITE_P(EachDialog, DialogBrowsingTest,
                         ::testing::Values("Open File", "CSV로 내보내기", "Select Destination"));

}  // namespace
}  // namespace vantelo::pages::test
