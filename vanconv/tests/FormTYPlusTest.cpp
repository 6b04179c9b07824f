// The converter's window offscreen: its controls and texts, the state
// changes of each procedure, and whole transfers with the stand-in vantelo
// on the request socket. Dialogs are answered by the test.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <deque>
#include <fstream>

#include "VanconvFixture.h"
#include "i18n/Translations.h"
#include "testsupport/AccessibleTree.h"
#include "testsupport/TextFit.h"
#include "vanconv/ContactFile.h"
#include "vanconv/ConverterTexts.h"
#include "vanconv/RunningVantelo.h"
#include "vanconv/formTYPlus.h"
#include "widgets/FileDialogs.h"

namespace vanconv {
namespace {

using V = std::vector<std::string>;

class TestForm : public formTYPlus {
public:
    explicit TestForm(MainProgram& p) : formTYPlus(p) {}
    std::string ChooseOpenFile() override { return Next(open); }
    std::string ChooseSaveFile(const std::string& title) override {
        saveTitles.push_back(title);
        return Next(save);
    }
    void Inform(const std::string& text) override { informed.push_back(text); }
    bool Confirm(const std::string& text, const std::string& title) override {
        questions.push_back(title + "|" + text);
        return confirm;
    }
    void Click(Ctl id) { static_cast<QAbstractButton*>(Control(id))->click(); }
    void PickSheet(int index) {
        auto* box = static_cast<QComboBox*>(Control(Ctl::CboSheet));
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    std::deque<std::string> open, save;
    V saveTitles, informed, questions;
    bool confirm = true;

private:
    static std::string Next(std::deque<std::string>& q) {
        if (q.empty())
            return {};
        std::string s = q.front();
        q.pop_front();
        return s;
    }
};

std::string Fixture(const char* name) {
    return (std::filesystem::path(WORKBOOK_FIXTURES) / name).string();
}

class FormTest : public ::testing::Test {
protected:
    void ExpectStartState() {
        for (Ctl frame : {Ctl::FrmWorksheet, Ctl::FrmDataLine, Ctl::FrmData, Ctl::FrmAppend})
            EXPECT_FALSE(form_.Enabled(frame));
        EXPECT_TRUE(form_.Enabled(Ctl::CmdFileOpen));
        EXPECT_FALSE(form_.Enabled(Ctl::CmdTrans));
        EXPECT_TRUE(form_.Checked(Ctl::OptToMdb0));
        EXPECT_TRUE(form_.Checked(Ctl::OptAppend0));
    }
    // Registers the stand-in and chooses the workbook.
    void ChooseWorkbook(const std::string& file) {
        install_ = test::Register(env_);
        form_.open.push_back(file);
        form_.Click(Ctl::CmdFileOpen);
    }
    void Map(int field, int column) { form_.Select(FieldList(field), column); }

    vt::test::TestEnvironment env_;
    RunningVantelo program_{2000};
    TestForm form_{program_};
    VanteloInstall install_;
};

TEST_F(FormTest, StartsWithEveryControlAndText) {
    EXPECT_EQ(form_.windowTitle().toStdString(), "엑셀 데이터 Vantelo 주소록 변환기");
    EXPECT_EQ(form_.Text(Ctl::OptToMdb0), "Excel File -> Vantelo");
    EXPECT_EQ(form_.Text(Ctl::OptToMdb1), "Vantelo -> Excel File");
    EXPECT_EQ(form_.Text(Ctl::FrmAppend), "변환 방식");
    EXPECT_EQ(form_.Text(Ctl::OptAppend0), "기존 주소록에 추가하기");
    EXPECT_EQ(form_.Text(Ctl::OptAppend1), "새 주소록 만들기  (기존 주소록은 삭제됩니다.)");
    EXPECT_EQ(form_.Text(Ctl::CmdFileOpen), "엑셀파일 선택");
    EXPECT_EQ(form_.Text(Ctl::CmdTrans), "변    환");
    EXPECT_EQ(form_.Text(Ctl::CmdExit), "닫    기");
    EXPECT_EQ(form_.Text(Ctl::LblTransState),
              "변환 설정을 마치고 '변환'버튼을 눌러주시기 바랍니다.");
    EXPECT_EQ(form_.Text(Ctl::LblState), "엑셀 파일을 선택해 주십시요.");
    EXPECT_EQ(form_.Text(Ctl::LblState1), "");
    ExpectStartState();
    // The fixed labels of the frames and the sixteen captioned lists.
    V labels;
    for (QLabel* l : form_.findChildren<QLabel*>()) labels.push_back(l->text().toStdString());
    for (const char* t :
         {"Work Sheet 선택 :", "데이터 라인 영역 선택 :", "로 부터", "까지의 데이터",
          "이      름 :", "집   전화 : ", "Fax        :", "Web       :"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), t), labels.end()) << t;
    for (const auto& f : kConvertFields) {
        auto* box = form_.findChild<QComboBox*>(f.listBox);
        ASSERT_NE(box, nullptr) << f.listBox;
        EXPECT_EQ(box->parentWidget(), form_.Control(Ctl::FrmData));
    }
    EXPECT_NE(form_.findChild<QWidget*>("cboSheet"), nullptr);
    EXPECT_NE(form_.findChild<QWidget*>("edtStartRow"), nullptr);
    EXPECT_EQ(ContactFile::kOpenFilters[0], std::string("EXCEL (*.xlsx *.xls)"));
}

TEST_F(FormTest, EveryFocusableControlHasAName) {
    EXPECT_EQ(vt::test::UnnamedFocusable(form_), QStringList());
    struct Case {
        const char* object;
        const char* name;
    };
    const Case cases[] = {{"cboSheet", "Work Sheet 선택"},
                          {"edtStartRow", "데이터 시작 줄"},
                          {"edtEndRow", "데이터 끝 줄"},
                          {"cboName", "이      름"},
                          {"cmdTrans", "변    환"}};
    for (const Case& c : cases) {
        auto* w = form_.findChild<QWidget*>(c.object);
        ASSERT_NE(w, nullptr) << c.object;
        // Captions keep their colons.
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        EXPECT_TRUE(name.startsWith(QString::fromUtf8(c.name)))
            << c.object << ": " << name.toStdString();
    }
}

TEST_F(FormTest, DirectionSwitchChangesCaptionsTextsAndStates) {
    form_.Click(Ctl::OptToMdb1);
    EXPECT_FALSE(form_.Enabled(Ctl::CmdFileOpen));
    EXPECT_TRUE(form_.Enabled(Ctl::CmdTrans));
    EXPECT_EQ(form_.Text(Ctl::CmdTrans), "주소록 저장");
    EXPECT_EQ(form_.Text(Ctl::LblTransState), "'저장'버튼을 눌러 주소록을 저장할 수 있습니다.");
    EXPECT_EQ(form_.Text(Ctl::LblState), "기존 파일의 경우 덥어쓰게 됩니다.");
    for (Ctl frame : {Ctl::FrmWorksheet, Ctl::FrmDataLine, Ctl::FrmData, Ctl::FrmAppend})
        EXPECT_FALSE(form_.Enabled(frame));
    form_.Click(Ctl::OptToMdb0);
    EXPECT_TRUE(form_.Enabled(Ctl::CmdFileOpen));
    EXPECT_FALSE(form_.Enabled(Ctl::CmdTrans));
    EXPECT_EQ(form_.Text(Ctl::CmdTrans), "변 환");
    EXPECT_EQ(form_.Text(Ctl::LblTransState),
              "변환 설정을 마치고 '변환'버튼을 눌러주시기 바랍니다.");
    EXPECT_EQ(form_.Text(Ctl::LblState), "엑셀 파일을 선택해 주십시요.");
}

TEST_F(FormTest, ChoosingNothingOrWithoutRegistrationSaysSo) {
    form_.Click(Ctl::CmdFileOpen);
    EXPECT_EQ(form_.informed, V{"파일이 존재하지 않습니다.  다시 파일을 찾아주십시요."});
    form_.open.push_back(Fixture("contacts.xlsx"));
    form_.Click(Ctl::CmdFileOpen);
    EXPECT_EQ(form_.Text(Ctl::LblState), "Vantelo이 정상적으로 설치되지 않았습니다.");
    EXPECT_EQ(form_.Text(Ctl::LblState1), "Vantelo 프로그램을 PC에 다시 설치하고 실행해 주십시요.");
    ExpectStartState();
}

TEST_F(FormTest, AWorkbookFillsTheSheetAndColumnLists) {
    ChooseWorkbook(Fixture("contacts.xlsx"));
    EXPECT_EQ(form_.Text(Ctl::LblFilePath), Fixture("contacts.xlsx"));
    EXPECT_EQ(form_.Controller().ExcelFilePath(), Fixture("contacts.xlsx"));
    EXPECT_EQ(form_.Controller().DatabasePath(), (env_.AppHome() / "VanteloDB1.db").string());
    EXPECT_EQ(form_.Text(Ctl::LblState), "변환 설정을 확인 하십시요.");
    for (Ctl frame : {Ctl::FrmWorksheet, Ctl::FrmDataLine, Ctl::FrmData, Ctl::FrmAppend})
        EXPECT_TRUE(form_.Enabled(frame));
    EXPECT_TRUE(form_.Enabled(Ctl::CmdTrans));
    EXPECT_EQ(form_.Items(Ctl::CboSheet), (V{"주소록", "Header only", "Empty"}));
    EXPECT_EQ(form_.Text(Ctl::EdtStartRow), "2");
    EXPECT_EQ(form_.Text(Ctl::EdtEndRow), "5");
    const V columns{"None", "이름", "그룹", " - C -", "집전화", "이동전화", "메모"};
    for (int f = 0; f < kFieldCount; ++f) {
        EXPECT_EQ(form_.Items(FieldList(f)), columns) << f;
        EXPECT_EQ(form_.Selected(FieldList(f)), 0);
    }
    EXPECT_EQ(form_.Controller().ColumnTitle(), " - C -");

    form_.PickSheet(1);  // a header row only
    EXPECT_EQ(form_.Text(Ctl::EdtStartRow), "1");
    EXPECT_EQ(form_.Text(Ctl::EdtEndRow), "1");
    EXPECT_EQ(form_.Items(FieldList(0)), V{"None"});
    form_.PickSheet(2);  // empty
    EXPECT_EQ(form_.Text(Ctl::EdtStartRow), "0");
    EXPECT_EQ(form_.Text(Ctl::EdtEndRow), "0");
    EXPECT_EQ(form_.Items(FieldList(15)), V{"None"});
}

TEST_F(FormTest, ADamagedFileIsReportedAndTheFormStaysAsItWas) {
    install_ = test::Register(env_);
    std::ofstream(env_.Root() / "bad.xlsx") << "PK\x03\x04 not really";
    form_.open.push_back((env_.Root() / "bad.xlsx").string());
    form_.Click(Ctl::CmdFileOpen);
    ASSERT_EQ(form_.informed.size(), 1u);
    EXPECT_EQ(form_.informed[0].rfind("파일을 열 수 없습니다: ", 0), 0u) << form_.informed[0];
    EXPECT_EQ(form_.Text(Ctl::LblFilePath), "");
    ExpectStartState();
}

TEST_F(FormTest, ImportClosesVanteloWritesTheTableAndStartsItAgain) {
    ChooseWorkbook(Fixture("contacts.xls"));
    test::AddContacts(install_.databasePath, {test::SampleContact(7)});
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start());
    Map(0, 1);
    Map(2, 4);
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(fake.Count("closed"), 1);
    EXPECT_TRUE(fake.WaitFor("started", 2));
    const auto all = test::AllContacts(install_.databasePath);
    ASSERT_EQ(all.size(), 5u);  // appended after the one there
    EXPECT_EQ(all[1][0], "홍길동");
    EXPECT_EQ(all[1][2], "0212345678");
    EXPECT_EQ(form_.Text(Ctl::LblState), "변환이 완료되었습니다.");
    EXPECT_EQ(form_.Text(Ctl::LblState1), "계속 작업시 파일열기를 눌러주십시요.");
    EXPECT_EQ(form_.Text(Ctl::LblFilePath), "");
    EXPECT_EQ(form_.Controller().ExcelFilePath(), "");
    ExpectStartState();
    EXPECT_TRUE(form_.informed.empty());
}

TEST_F(FormTest, NewContactBookAsksFirstAndCancelLeavesEverything) {
    ChooseWorkbook(Fixture("contacts.xlsx"));
    test::AddContacts(install_.databasePath, {test::SampleContact(1)});
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start());
    Map(0, 1);
    form_.Click(Ctl::OptAppend1);
    form_.confirm = false;
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.questions,
              V{"새주소록|이전 주소록의 데이터가 모두 삭제됩니다.\n계속 진행하시겠습니까?"});
    EXPECT_EQ(fake.Count("request 256"), 0);  // never asked to close
    EXPECT_TRUE(test::FakeVantelo::LockHeld());
    EXPECT_EQ(test::AllContacts(install_.databasePath),
              std::vector<ContactFields>{test::SampleContact(1)});
    EXPECT_EQ(form_.Text(Ctl::LblState), "변환 설정을 확인 하십시요.");

    form_.confirm = true;
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(fake.Count("closed"), 1);
    const auto all = test::AllContacts(install_.databasePath);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0][0], "홍길동");
    EXPECT_TRUE(form_.Checked(Ctl::OptAppend0));
    EXPECT_TRUE(fake.WaitFor("started", 2));
}

TEST_F(FormTest, BadRangesAndAMissingNameChangeNothing) {
    ChooseWorkbook(Fixture("contacts.xlsx"));
    test::AddContacts(install_.databasePath, {test::SampleContact(1)});
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start());
    Map(0, 1);
    form_.SetText(Ctl::EdtStartRow, "5");
    form_.SetText(Ctl::EdtEndRow, "4");
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.Text(Ctl::LblState1), "데이터 범위가 잘못되었습니다.");
    form_.SetText(Ctl::EdtStartRow, "2");
    form_.SetText(Ctl::EdtEndRow, "5");
    Map(0, 0);
    form_.Click(Ctl::OptAppend1);
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.informed, V{"이름을 입력하여 주십시오."});
    EXPECT_TRUE(form_.questions.empty());
    EXPECT_EQ(fake.Count("request 256"), 0);
    EXPECT_EQ(test::AllContacts(install_.databasePath).size(), 1u);
}

TEST_F(FormTest, AVanteloThatStaysOpenStopsTheImport) {
    ChooseWorkbook(Fixture("contacts.xlsx"));
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start(/*stubborn=*/true));
    Map(0, 1);
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.Text(Ctl::LblState), text::kStillRunning);
    EXPECT_EQ(form_.Text(Ctl::LblState1), text::kCloseVantelo);
    EXPECT_FALSE(std::filesystem::exists(install_.databasePath));
    EXPECT_TRUE(form_.Enabled(Ctl::CmdTrans));  // the settings stay for another try
}

TEST_F(FormTest, ExportWritesTheChosenFileAndReturnsToTheStart) {
    install_ = test::Register(env_);
    test::AddContacts(install_.databasePath, {test::SampleContact(1), test::SampleContact(2)});
    form_.Click(Ctl::OptToMdb1);
    const std::string file = (env_.Root() / "out.xlsx").string();
    form_.save.push_back(file);
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.saveTitles, V{"Select FileName"});
    std::string error;
    auto book = ContactFile::Open(file, error);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(book->GetSheet(0)->Text(3, 1), test::SampleContact(2)[0]);
    EXPECT_EQ(form_.Text(Ctl::LblState1), "저장 완료 : " + file);
    // Back at direction 0, whose texts replace the transfer's.
    EXPECT_EQ(form_.Text(Ctl::LblTransState), text::kTransHint);
    EXPECT_EQ(form_.Text(Ctl::LblState), text::kChooseWorkbook);
    EXPECT_EQ(form_.Text(Ctl::CmdTrans), "변 환");
    ExpectStartState();

    // A cancelled dialog, or a name of no known kind, stores nothing and
    // says nothing.
    const auto files = [this] {
        return std::distance(std::filesystem::directory_iterator(env_.Root()),
                             std::filesystem::directory_iterator());
    };
    const auto before = files();
    form_.Click(Ctl::OptToMdb1);
    form_.Click(Ctl::CmdTrans);
    form_.save.push_back((env_.Root() / "out.txt").string());
    form_.Click(Ctl::OptToMdb1);
    form_.Click(Ctl::CmdTrans);
    EXPECT_TRUE(form_.informed.empty());
    EXPECT_EQ(files(), before);
}

TEST_F(FormTest, AFailedImportIsShownAndVanteloComesBack) {
    ChooseWorkbook(Fixture("contacts.xlsx"));
    test::AddContacts(install_.databasePath, {test::SampleContact(1)});
    test::RefuseName(install_.databasePath, "김철수");  // the sheet's second row
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start());
    Map(0, 1);
    form_.Click(Ctl::CmdTrans);
    EXPECT_EQ(form_.Text(Ctl::LblState), text::kFailed);
    EXPECT_NE(form_.Text(Ctl::LblState1).find("refused by the test"), std::string::npos);
    EXPECT_NE(form_.Text(Ctl::LblState1).find("refused by the test"), std::string::npos);
    ASSERT_EQ(form_.informed.size(), 1u);
    EXPECT_TRUE(fake.WaitFor("started", 2));
    EXPECT_EQ(test::AllContacts(install_.databasePath).size(), 1u);
    EXPECT_TRUE(form_.Enabled(Ctl::CmdTrans));
}

// The window's own dialogs (the tests above answer in their place): the
// programs' shared kind, with the converter's filters, and the save dialog's
// suffix following the chosen filter.
TEST_F(FormTest, FileDialogsAreTheSharedOnesWithTheConvertersFilters) {
    QStringList filters;
    QString title;
    bool shared = false, confirms = true;
    std::function<void(QFileDialog&)> answer;
    QTimer poll;  // polled from the dialog's own event loop
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        shared = dialog->iconProvider() == vt::widgets::FileDialogs::IconProvider() &&
                 dialog->testOption(QFileDialog::DontUseNativeDialog);
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        answer(*dialog);
    });
    poll.start(10);

    answer = [](QFileDialog& d) { d.reject(); };
    EXPECT_EQ(form_.formTYPlus::ChooseOpenFile(), "");
    EXPECT_EQ(filters, QStringList({"EXCEL (*.xlsx *.xls)", "vCard (*.vcf)", "CSV UTF-8 (*.csv)"}));
    EXPECT_TRUE(shared);

    shared = false;
    answer = [this](QFileDialog& d) {
        EXPECT_EQ(d.defaultSuffix(), "xlsx");
        emit d.filterSelected(d.nameFilters().value(1));
        // A name field with the focus would keep what the user typed.
        if (QWidget* typing = d.focusWidget())
            typing->clearFocus();
        d.selectFile(QString::fromStdString((env_.Root() / "book").string()));
        static_cast<QDialog&>(d).accept();
    };
    EXPECT_EQ(form_.formTYPlus::ChooseSaveFile("Select FileName"),
              (env_.Root() / "book.vcf").string());
    EXPECT_EQ(title, "Select FileName");
    EXPECT_EQ(filters, QStringList({"EXCEL (*.xlsx)", "vCard 3.0 (*.vcf)", "CSV UTF-8 (*.csv)"}));
    EXPECT_TRUE(shared);
    EXPECT_FALSE(confirms) << "the window has asked already";
    poll.stop();
}

// The window in each language: its fixed texts and those its controller
// writes, and every text whole in its control.
TEST(FormLanguageTest, SpeaksTheLoadedLanguageAndEveryTextFits) {
    struct Case {
        vt::i18n::Language language;
        const char* title;
        const char* convert;
        const char* state;
        const char* nameCaption;
    };
    for (const Case& c :
         {Case{vt::i18n::Language::Korean, "엑셀 데이터 Vantelo 주소록 변환기", "변    환",
               "엑셀 파일을 선택해 주십시요.", "이      름 :"},
          Case{vt::i18n::Language::English, "Excel data to Vantelo contacts converter", "Convert",
               "Please choose an Excel file.", "Name :"}}) {
        vt::i18n::Load(c.language, {"vanconv"});
        vt::i18n::InstallIntoApplication();
        vt::test::TestEnvironment env;
        RunningVantelo program(2000);
        TestForm form(program);
        form.show();
        EXPECT_EQ(form.windowTitle().toStdString(), c.title);
        EXPECT_EQ(form.Text(Ctl::CmdTrans), c.convert);
        EXPECT_EQ(form.Text(Ctl::LblState), c.state);
        V labels;
        for (QLabel* l : form.findChildren<QLabel*>()) labels.push_back(l->text().toStdString());
        EXPECT_NE(std::find(labels.begin(), labels.end(), c.nameCaption), labels.end());
        int checked = 0;
        EXPECT_EQ(vt::test::TextsThatDoNotFit(form, &checked), QStringList());
        EXPECT_GT(checked, 20);
    }
    vt::i18n::Load(vt::i18n::Language::Korean, {});
}

}  // namespace
}  // namespace vanconv
