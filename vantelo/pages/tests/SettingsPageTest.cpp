// The settings page as a person uses it: switching to it shows the stored
// settings, edits stay in the controls until Ok, Ok applies the maximum
// message length rule and saves, Default Load resets only the sliders.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "BlockListDialog.h"
#include "PhoneLayout.h"
#include "SettingsPage.h"
#include "SoundFileDialog.h"
#include "VtdbProgram.h"
#include "WindowFixture.h"
#include "platform/IniStore.h"
#include "testsupport/AccessibleTree.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/GridControl.h"

namespace vantelo::pages::test {
namespace {

class SettingsPageTest : public WindowFixture {
protected:
    void OpenOnSettings(const PhoneSettings& stored = {}) {
        phone_.settings = stored;
        Open();
        Click(IDC_PAGE_SETTINGS);
        ASSERT_EQ(window_->ShownPage(), IDD_SETTINGS);
    }
    SettingsPage& Page() { return window_->Settings(); }
    template <typename W>
    W* Get(int id) {
        auto* w = qobject_cast<W*>(Page().Control(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    QCheckBox* Box(int id) { return Get<QCheckBox>(id); }
    QSlider* Slider(int id) { return Get<QSlider>(id); }
    QString Label(int id) { return Get<QLabel>(id)->text(); }
    // Replaces an edit's text by typing, as a person would.
    void Type(int id, const QString& text) {
        auto* edit = Get<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // Replaces a spin box's text by typing; it takes only what its range allows.
    void TypeSeconds(int id, const QString& text) {
        auto* box = Get<QSpinBox>(id);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    void Press(int controlId) { Click(Page().Control(controlId)); }
    // A check box reacts to clicks on its box and text, not on blank space.
    void Tick(int id) { QTest::mouseClick(Box(id), Qt::LeftButton, {}, QPoint(8, 11)); }
    PhoneSettings FromFile() {
        PhoneSettings s;
        EXPECT_TRUE(LoadSettings(s));
        return s;
    }
};

TEST_F(SettingsPageTest, ShowsEveryControlWithItsTextsRangesAndDefaults) {
    OpenOnSettings();
    EXPECT_EQ(Page().geometry(), PhoneLayout::kPageArea);
    EXPECT_EQ(Box(IDC_SP_IS_LOCAL)->text(), "지역 번호 :");
    EXPECT_EQ(Box(IDC_SP_IS_EXT)->text(), "         외선 번호 :");
    EXPECT_EQ(Box(IDC_SP_IS_RECEIVE)->text(), "끌어받기 번호 :");
    EXPECT_EQ(Box(IDC_SP_REC_RECEIVED)->text(), "착신 자동 녹음");
    EXPECT_EQ(Box(IDC_SP_REC_OUTGOING)->text(), "발신 자동 녹음");
    EXPECT_EQ(Box(IDC_SP_GREETING_ONLY)->text(), "안내 메시지만 재생");
    EXPECT_EQ(Box(IDC_SP_CALLER_CHOOSES)->text(), "메시지 재생 후 상대응답");
    EXPECT_EQ(Get<QLabel>(IDC_SP_CAPTION_COMPRESS)->text(), "녹음 압축률 : ");
    EXPECT_EQ(Get<QLabel>(IDC_SP_CAPTION_MAX_MESSAGE)->text(), "녹음 최대시간(초) :");
    EXPECT_EQ(Get<QLabel>(IDC_SP_CAPTION_GREETING)->text(), "안내 메시지 : ");
    auto* compress = Get<QComboBox>(IDC_SP_COMPRESS);
    ASSERT_EQ(compress->count(), 4);
    EXPECT_EQ(compress->itemText(0), "압축안함");
    EXPECT_EQ(compress->itemText(3), "높음");
    EXPECT_EQ(compress->currentIndex(), 3);
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_MAX_MESSAGE)->text(), "30");

    struct Expect {
        int id, label, minimum, maximum, tick, value;
        const char* caption;
        const char* shown;
    };
    const Expect sliders[] = {
        {1092, 1099, 150, 300, 10, 160, "번호 하나가 눌러지는 시간", "(160/1000초)"},
        {1093, 1100, 70, 300, 10, 100, "번호 하나를 누른 후 다음 번호 누를 때까지의 시간 ",
         "(100/1000초)"},
        {1094, 1101, 60, 600, 10, 250, "착신 전환(FLASH) 시간", "(250/1000초)"},
        {1095, 1102, 600, 3000, 100, 1000, "착신 전환(FLASH) 후 대기 시간", "(1000/1000초)"},
        {1096, 1103, 0, 3000, 100, 1000, "외선 번호 송출 후 대기 시간 ", "(1000/1000초)"},
        {1097, 1104, 1000, 30000, 500, 5000, "자동 응답 사용시 링 대기 시간", "(5000/1000초)"},
        {1105, 1106, 1000, 20000, 500, 5000, "상대 응답 선택시 상대 응답 없이 대기시간",
         "(5000/1000초)"},
    };
    for (int i = 0; i < 7; ++i) {
        const Expect& e = sliders[i];
        QSlider* s = Slider(e.id);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->minimum(), e.minimum) << e.id;
        EXPECT_EQ(s->maximum(), e.maximum) << e.id;
        EXPECT_EQ(s->tickInterval(), e.tick) << e.id;
        EXPECT_EQ(s->value(), e.value) << e.id;
        EXPECT_EQ(Label(e.label), QString::fromUtf8(e.shown)) << e.id;
        EXPECT_EQ(Get<QLabel>(1149 + i)->text(), QString::fromUtf8(e.caption)) << e.id;
    }
    struct Button {
        int id;
        QRect rect;
        const char* tip;
    };
    for (const Button& b : {Button{IDC_SP_OK, {447, 432, 65, 28}, "저장"},
                            Button{IDC_SP_PATH, {127, 349, 65, 19}, "찾아보기"},
                            Button{IDC_SP_DEFAULT_LOAD, {297, 400, 215, 30}, "기본값으로 설정"}}) {
        EXPECT_EQ(Page().Control(b.id)->geometry(), b.rect) << b.id;
        EXPECT_EQ(Page().Control(b.id)->toolTip(), QString::fromUtf8(b.tip)) << b.id;
    }
}

TEST_F(SettingsPageTest, SwitchingToThePageShowsTheStoredSettingsAfterUnsavedEdits) {
    PhoneSettings stored;
    stored.IsExt = 1;
    stored.StrExt = "9";
    stored.StrLocal = "02";
    stored.ModeRecAuto = kRecAutoOutgoing;
    stored.ModeRecCompress = 1;
    stored.ModeAbsence = kAbsenceCallerChooses;
    stored.StrAbsenceFile = "/home/me/인사.wav";
    stored.IntKeyTime = 200;
    stored.IntAbsenceRingTime = 12000;
    stored.IntAbsenceMaxMessage = 45;
    OpenOnSettings(stored);
    EXPECT_TRUE(Box(IDC_SP_IS_EXT)->isChecked());
    EXPECT_FALSE(Box(IDC_SP_IS_LOCAL)->isChecked());
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_STR_LOCAL)->text(), "02");
    EXPECT_TRUE(Box(IDC_SP_REC_OUTGOING)->isChecked());
    EXPECT_FALSE(Box(IDC_SP_REC_RECEIVED)->isChecked());
    EXPECT_TRUE(Box(IDC_SP_CALLER_CHOOSES)->isChecked());
    EXPECT_EQ(Get<QComboBox>(IDC_SP_COMPRESS)->currentIndex(), 1);
    EXPECT_EQ(Get<QPlainTextEdit>(IDC_SP_GREETING_FILE)->toPlainText(), "/home/me/인사.wav");
    EXPECT_EQ(Slider(1092)->value(), 200);
    EXPECT_EQ(Label(1099), "(200/1000초)");
    EXPECT_EQ(Label(1104), "(12000/1000초)");
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_MAX_MESSAGE)->text(), "45");

    // Edits without Ok ...
    Tick(IDC_SP_IS_EXT);
    Type(IDC_SP_STR_LOCAL, "031");
    Type(IDC_SP_MAX_MESSAGE, "77");
    Slider(1092)->setFocus();
    QTest::keyClick(Slider(1092), Qt::Key_Right);
    EXPECT_EQ(Slider(1092)->value(), 210);
    EXPECT_EQ(Label(1099), "(210/1000초)");  // the label follows the move
    // ... are dropped by switching away and back.
    Click(IDC_PAGE_ADDRESSBOOK);
    Click(IDC_PAGE_SETTINGS);
    EXPECT_TRUE(Box(IDC_SP_IS_EXT)->isChecked());
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_STR_LOCAL)->text(), "02");
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_MAX_MESSAGE)->text(), "45");
    EXPECT_EQ(Slider(1092)->value(), 200);
    EXPECT_EQ(Label(1099), "(200/1000초)");
    EXPECT_EQ(phone_.saves, 0);
    EXPECT_EQ(phone_.settings.IsExt, 1);
}

TEST_F(SettingsPageTest, OkCopiesEveryControlIntoTheSettingsAndSavesThem) {
    OpenOnSettings();
    Tick(IDC_SP_IS_LOCAL);
    Type(IDC_SP_STR_LOCAL, "02");
    Tick(IDC_SP_IS_EXT);
    Type(IDC_SP_STR_EXT, "9");
    Tick(IDC_SP_IS_RECEIVE);
    Type(IDC_SP_STR_RECEIVE, "*8");
    Tick(IDC_SP_REC_RECEIVED);
    Tick(IDC_SP_REC_OUTGOING);
    Tick(IDC_SP_GREETING_ONLY);
    auto* compress = Get<QComboBox>(IDC_SP_COMPRESS);
    compress->setFocus();
    QTest::keyClick(compress, Qt::Key_Up);  // 높음 -> 중간
    Slider(1097)->setFocus();
    QTest::keyClick(Slider(1097), Qt::Key_Right);  // +500
    Slider(1096)->setFocus();
    QTest::keyClick(Slider(1096), Qt::Key_Home);  // 0
    Type(IDC_SP_MAX_MESSAGE, "60");
    Press(IDC_SP_OK);

    const PhoneSettings& s = phone_.settings;
    EXPECT_EQ(phone_.saves, 1);
    EXPECT_EQ(s.IsLocal, 1);
    EXPECT_EQ(s.StrLocal, "02");
    EXPECT_EQ(s.IsExt, 1);
    EXPECT_EQ(s.StrExt, "9");
    EXPECT_EQ(s.IsReceive, 1);
    EXPECT_EQ(s.StrReceive, "*8");
    EXPECT_EQ(s.ModeRecAuto, 0x11);
    EXPECT_EQ(s.ModeAbsence, 0x01);
    EXPECT_EQ(s.ModeRecCompress, 2);
    EXPECT_EQ(s.IntAbsenceRingTime, 5500);
    EXPECT_EQ(s.IntExtDelay, 0);
    EXPECT_EQ(s.IntKeyTime, 160);
    EXPECT_EQ(s.IntAbsenceMaxMessage, 60);
    // What was saved is what a new start reads.
    const PhoneSettings file = FromFile();
    EXPECT_EQ(file.StrReceive, "*8");
    EXPECT_EQ(file.ModeRecAuto, 0x11);
    EXPECT_EQ(file.IntAbsenceRingTime, 5500);
    EXPECT_EQ(file.IntAbsenceMaxMessage, 60);

    // Enter in an edit is the page's default action: Ok again.
    Type(IDC_SP_STR_EXT, "8");
    QTest::keyClick(Get<QLineEdit>(IDC_SP_STR_EXT), Qt::Key_Return);
    EXPECT_EQ(phone_.saves, 2);
    EXPECT_EQ(FromFile().StrExt, "8");
}

TEST_F(SettingsPageTest, MaximumMessageLengthIsKeptBetweenTenAndNinetyNineOrExactlyAHundred) {
    OpenOnSettings();
    const std::pair<const char*, int> cases[] = {{"5", 10},    {"10", 10},  {"99", 99},
                                                 {"100", 100}, {"101", 99}, {"150", 99},
                                                 {"abc", 10},  {"", 10},    {"-20", 10}};
    for (const auto& [typed, stored] : cases) {
        Type(IDC_SP_MAX_MESSAGE, QString::fromUtf8(typed));
        Press(IDC_SP_OK);
        EXPECT_EQ(phone_.settings.IntAbsenceMaxMessage, stored) << typed;
        EXPECT_EQ(FromFile().IntAbsenceMaxMessage, stored) << typed;
    }
    EXPECT_EQ(SettingsPage::MaxMessageFromText(" 42 "), 42);
}

TEST_F(SettingsPageTest, TheMessageLengthSettingsAreShownAndSavedWithOkWithinTheirRanges) {
    OpenOnSettings();
    EXPECT_EQ(Get<QLabel>(IDC_SP_CAPTION_MIN_MESSAGE)->text(), "녹음 최소시간(초) :");
    EXPECT_EQ(Get<QLabel>(IDC_SP_CAPTION_SILENCE)->text(), "무음 종료시간(초) :");
    struct Case {
        int storedMin, storedSilence;  // in the settings when the page opens
        const char* shownMin;
        const char* shownSilence;
        const char* typedMin;
        const char* typedSilence;
        bool enter;  // Enter in the spin box, else the Ok button
        int savedMin, savedSilence;
    };
    const Case cases[] = {
        {2, 7, "2", "7", "3", "12", false, 3, 12},
        {3, 12, "3", "12", "0", "0", true, 0, 0},  // 0 keeps every message, never stops
        {5, 0, "5", "사용 안 함", "9", "30", false, 9, 30},
        // A hand-edited file: shown (and saved) at the ends of the ranges.
        {50, -3, "9", "사용 안 함", "", "", true, 9, 0},
        // Digits beyond the range are not taken.
        {1, 1, "1", "1", "45", "99", false, 4, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.storedMin) + "/" + std::to_string(c.storedSilence));
        phone_.settings.IntAbsenceMinMessage = c.storedMin;
        phone_.settings.IntAbsenceSilence = c.storedSilence;
        Click(IDC_PAGE_ADDRESSBOOK);
        Click(IDC_PAGE_SETTINGS);
        EXPECT_EQ(Get<QSpinBox>(IDC_SP_MIN_MESSAGE)->text(), QString::fromUtf8(c.shownMin));
        EXPECT_EQ(Get<QSpinBox>(IDC_SP_SILENCE)->text(), QString::fromUtf8(c.shownSilence));
        if (*c.typedMin)
            TypeSeconds(IDC_SP_MIN_MESSAGE, QString::fromUtf8(c.typedMin));
        if (*c.typedSilence)
            TypeSeconds(IDC_SP_SILENCE, QString::fromUtf8(c.typedSilence));
        if (c.enter) {
            Get<QSpinBox>(IDC_SP_SILENCE)->setFocus();
            QTest::keyClick(Get<QSpinBox>(IDC_SP_SILENCE), Qt::Key_Return);
        } else {
            Press(IDC_SP_OK);
        }
        EXPECT_EQ(phone_.settings.IntAbsenceMinMessage, c.savedMin);
        EXPECT_EQ(phone_.settings.IntAbsenceSilence, c.savedSilence);
        const PhoneSettings file = FromFile();
        EXPECT_EQ(file.IntAbsenceMinMessage, c.savedMin);
        EXPECT_EQ(file.IntAbsenceSilence, c.savedSilence);
    }
    EXPECT_EQ(phone_.saves, 5);
    // Edits without Ok are dropped like the others.
    TypeSeconds(IDC_SP_MIN_MESSAGE, "6");
    Click(IDC_PAGE_ADDRESSBOOK);
    Click(IDC_PAGE_SETTINGS);
    EXPECT_EQ(Get<QSpinBox>(IDC_SP_MIN_MESSAGE)->value(), 4);
    EXPECT_EQ(FromFile().IntAbsenceMinMessage, 4);
}

TEST_F(SettingsPageTest, TheBlockListButtonAndCtrlBOpenTheEditorOnThePhonesDatabase) {
    ASSERT_EQ(Vtdb({"block", "add", "070*", "--note", "광고"}), "");
    OpenOnSettings();
    QWidget* button = Page().Control(IDC_SP_BLOCK_LIST);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(297, 432, 144, 28));
    EXPECT_EQ(button->toolTip(), "걸려 오는 전화의 차단 목록 편집 (Ctrl+B)");
    EXPECT_EQ(Page().BlockList(), nullptr);

    Press(IDC_SP_BLOCK_LIST);
    QPointer<BlockListDialog> editor = Page().BlockList();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "차단 목록");
    EXPECT_EQ(vt::test::UnnamedFocusable(*editor).join(u'\n').toStdString(), "");
    ASSERT_EQ(editor->RuleCount(), 1);
    EXPECT_EQ(editor->Grid().model()->index(0, BlockListDialog::kNote).data().toString(), "광고");
    Press(IDC_SP_BLOCK_LIST);  // the open editor comes forward; no second one
    EXPECT_EQ(Page().BlockList(), editor.data());
    EXPECT_EQ(Page().findChildren<BlockListDialog*>().size(), 1);

    // Closed, it is gone; the keys open it again, and what it adds vtdb reads.
    auto* close = editor->findChild<QPushButton*>(QStringLiteral("close"));
    ASSERT_NE(close, nullptr);
    Click(close);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(Page().BlockList(), nullptr);
    Get<QLineEdit>(IDC_SP_STR_LOCAL)->setFocus();
    QTest::keyClick(Get<QLineEdit>(IDC_SP_STR_LOCAL), Qt::Key_B, Qt::ControlModifier);
    editor = Page().BlockList();
    ASSERT_NE(editor, nullptr);
    auto* pattern = editor->findChild<QLineEdit*>(QStringLiteral("pattern"));
    ASSERT_NE(pattern, nullptr);
    pattern->setFocus();
    QTest::keyClicks(pattern, "0629998888");
    QTest::keyClick(pattern, Qt::Key_Return);
    EXPECT_EQ(editor->StatusText(), "차단 목록에 추가했습니다: 0629998888");
    EXPECT_EQ(Vtdb({"block", "list"}),
              "070*\tblock\thangup\t0\t-\t광고\n0629998888\tblock\thangup\t0\t-\t\n");
    EXPECT_EQ(phone_.saves, 0);  // the rules are not settings: no save
}

TEST_F(SettingsPageTest, AnsweringOptionsExcludeEachOtherWhenChecked) {
    OpenOnSettings();
    QCheckBox* only = Box(IDC_SP_GREETING_ONLY);
    QCheckBox* choose = Box(IDC_SP_CALLER_CHOOSES);
    Tick(IDC_SP_CALLER_CHOOSES);
    EXPECT_TRUE(choose->isChecked());
    Tick(IDC_SP_GREETING_ONLY);  // checking one clears the other
    EXPECT_TRUE(only->isChecked());
    EXPECT_FALSE(choose->isChecked());
    Tick(IDC_SP_CALLER_CHOOSES);
    EXPECT_TRUE(choose->isChecked());
    EXPECT_FALSE(only->isChecked());
    Tick(IDC_SP_CALLER_CHOOSES);  // both may be clear
    EXPECT_FALSE(choose->isChecked());
    EXPECT_FALSE(only->isChecked());
    Press(IDC_SP_OK);
    EXPECT_EQ(phone_.settings.ModeAbsence, 0);
}

TEST_F(SettingsPageTest, DefaultLoadResetsOnlyTheSliders) {
    PhoneSettings stored;
    stored.IntKeyTime = 300;
    stored.IntKeyDelay = 70;
    stored.IntFlashTime = 600;
    stored.IntFlashDelay = 3000;
    stored.IntExtDelay = 0;
    stored.IntAbsenceRingTime = 30000;
    stored.IntAbsenceTimeOut = 1000;
    stored.IsLocal = 1;
    stored.StrLocal = "051";
    stored.ModeRecCompress = 0;
    stored.ModeRecAuto = kRecAutoReceived;
    stored.IntAbsenceMaxMessage = 20;
    stored.IntAbsenceMinMessage = 4;
    stored.IntAbsenceSilence = 0;
    OpenOnSettings(stored);
    Type(IDC_SP_MAX_MESSAGE, "88");
    Press(IDC_SP_DEFAULT_LOAD);
    for (const auto& s : SettingsPage::kSliders) {
        EXPECT_EQ(Slider(s.id)->value(), s.defaultValue) << s.id;
        EXPECT_EQ(Label(s.valueLabel), QStringLiteral("(%1/1000초)").arg(s.defaultValue));
    }
    EXPECT_TRUE(Box(IDC_SP_IS_LOCAL)->isChecked());
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_STR_LOCAL)->text(), "051");
    EXPECT_EQ(Get<QComboBox>(IDC_SP_COMPRESS)->currentIndex(), 0);
    EXPECT_TRUE(Box(IDC_SP_REC_RECEIVED)->isChecked());
    EXPECT_EQ(Get<QLineEdit>(IDC_SP_MAX_MESSAGE)->text(), "88");
    EXPECT_EQ(Get<QSpinBox>(IDC_SP_MIN_MESSAGE)->value(), 4);
    EXPECT_EQ(Get<QSpinBox>(IDC_SP_SILENCE)->value(), 0);
    EXPECT_EQ(phone_.saves, 0);  // nothing is stored before Ok
}

TEST_F(SettingsPageTest, ValueLabelsAreNotWrittenBeforeThePageIsSetUp) {
    Open();
    // A page just built has moved its sliders to their defaults without
    // writing a label; once set up, a move writes it.
    SettingsPage page(*window_, window_->Skin());
    EXPECT_TRUE(page.Initialised());
    auto* slider = qobject_cast<QSlider*>(page.Control(1093));
    auto* label = qobject_cast<QLabel*>(page.Control(1100));
    ASSERT_TRUE(slider && label);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(label->text(), "");
    slider->setValue(150);
    EXPECT_EQ(label->text(), "(150/1000초)");
}

TEST_F(SettingsPageTest, PathPutsTheChosenGreetingFileIntoTheEdit) {
    const auto greeting = env_.AppHome() / "안내.wav";
    OpenOnSettings();
    auto* edit = Get<QPlainTextEdit>(IDC_SP_GREETING_FILE);
    int asked = 0;
    QString answer;  // cancelled first
    Page().SetGreetingChooser([&] {
        ++asked;
        return answer;
    });
    Press(IDC_SP_PATH);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(edit->toPlainText(), QString());
    answer = QString::fromStdString(greeting.string());
    Press(IDC_SP_PATH);
    EXPECT_EQ(edit->toPlainText(), answer);
    // A later cancel keeps the chosen file.
    answer.clear();
    Press(IDC_SP_PATH);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(edit->toPlainText(), QString::fromStdString(greeting.string()));
    Press(IDC_SP_OK);
    EXPECT_EQ(FromFile().StrAbsenceFile, greeting.string());
}

// The real dialog, opened without a modal loop, so nothing here can wait
// for an answer that never comes.
TEST_F(SettingsPageTest, TheGreetingDialogOffersExistingSoundFilesFromTheCurrentFolder) {
    const auto greeting = env_.AppHome() / "안내.wav";
    std::ofstream(greeting) << "RIFF";
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(env_.AppHome().string()));
    OpenOnSettings();
    const auto dialog = SoundFileDialog::Create(&Page());
    QDir::setCurrent(previous);
    EXPECT_EQ(dialog->windowTitle(), "Open File");
    EXPECT_EQ(dialog->nameFilters().join(","), "Sound Files(*.wav;*.vrc) (*.wav *.vrc)");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(),
              QFileInfo(QString::fromStdString(env_.AppHome().string())).canonicalFilePath());
    dialog->open();
    dialog->selectFile(QString::fromStdString(greeting.string()));
    static_cast<QDialog*>(dialog.get())->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(SoundFileDialog::ChosenPath(*dialog), QString::fromStdString(greeting.string()));
}

TEST_F(SettingsPageTest, ASaveThatFailsIsReported) {
    // A folder where the settings file belongs: the file cannot be written.
    std::filesystem::create_directories(vt::SettingsFilePath() / "blocked");
    OpenOnSettings();
    const QString said = AnswerMessageBox(QMessageBox::Ok, [&] { Press(IDC_SP_OK); });
    EXPECT_EQ(said, "Vantelo|설정을 파일에 저장하지 못했습니다.");
}

}  // namespace
}  // namespace vantelo::pages::test
