// The phone window in Korean (the source) and in English: each page, the
// skin's captions, the block list editor and a message box speak the
// language loaded at start, and every English text fits its control.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "AboutBox.h"
#include "AddressBookPage.h"
#include "BlockListDialog.h"
#include "CallListPage.h"
#include "ContactEditPage.h"
#include "InnerLinePage.h"
#include "PhoneFixture.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "SettingsPage.h"
#include "WindowFixture.h"
#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "testsupport/TextFit.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/CallLogActions.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages::test {
namespace {

using vt::i18n::Language;

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
    void SetStatusText(const std::string& text) override { status = text; }
    void WriteLog(const std::string&) override {}
    std::filesystem::path ApplicationFolder() const override { return vt::ApplicationFolder(); }
    vantelo::test::ScriptLine line;
    std::string status;
};

// What each language shows in a few representative places.
struct Expected {
    Language language;
    const char* pageTip;         // tool tip of the address book's page button
    const char* hookName;        // accessible name of the hook button
    const char* indexTab;        // first tab of the contact page's index
    const char* nameColumn;      // first column of the address book
    const char* kindColumn;      // second column of the call log
    const char* missedTab;       // fifth tab of the call log
    const char* kindOfCall;      // a missed call's kind in the call log
    const char* checkBox;        // the settings page's first check box
    const char* automatic;       // the language box's first choice
    const char* addButton;       // the block list editor's add button
    const char* emptyPattern;    // what the editor says of an empty pattern
    const char* deleteQuestion;  // the contact page's question before deleting
};

void PrintTo(const Expected& e, std::ostream* out) {
    *out << vt::i18n::LanguageCode(e.language);
}

const Expected kLanguages[] = {
    {Language::Korean, "주소록 페이지", "통화", "전체", "이름", "종류", "부재중", "부재",
     "지역 번호 :", "자동", "추가", "패턴을 입력하세요.", "삭제하시겠습니까?"},
    {Language::English, "Contacts page", "Answer or hang up", "All", "Name", "Kind", "Missed",
     "Miss", "Area code :", "Automatic", "Add", "Enter a pattern.", "Delete it?"},
};

class WindowLanguageTest : public WindowFixture, public ::testing::WithParamInterface<Expected> {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // As the program does at start: the catalogs, then the application's tr().
        vt::i18n::Load(GetParam().language, {"vantelo_pages", "vantelo_core"});
        vt::i18n::InstallIntoApplication();
    }
    void TearDown() override {
        WindowFixture::TearDown();
        vt::i18n::Load(Language::Korean, {});
    }
    void OpenAll() {
        Open();
        callLog_ = CallListPage::InstallInto(*window_, log_, DefaultDatabasePath());
    }
    static QString S(const char* text) { return QString::fromUtf8(text); }

    QuietLog log_;
    CallListPage* callLog_ = nullptr;
};

TEST_P(WindowLanguageTest, PagesCaptionsAndMessagesSpeakTheLoadedLanguage) {
    const Expected& e = GetParam();
    CallRecord missed;
    missed.CallMode = kCallMissed;
    missed.CallNum = "0212345678";
    {
        CRSCallList calls;
        ASSERT_TRUE(calls.Open().ok());
        ASSERT_TRUE(calls.AppendCall(missed, vt::SystemClock::Instance()).ok());
    }
    Store("AddressList", Contact("홍길동", "친구"));
    OpenAll();

    EXPECT_EQ(window_->Control(IDC_PAGE_ADDRESSBOOK)->toolTip(), S(e.pageTip));
    EXPECT_EQ(window_->Control(IDC_HOOK)->accessibleName(), S(e.hookName));
    // The skin paints the translated captions.
    const Place* tab = PhoneLayout::Find(PhoneLayout::MainButtons(), IDC_PAGE_ADDRESSBOOK);
    EXPECT_EQ(tab->Label(), S(e.language == Language::English ? "Contacts" : "주소록"));

    AddressBookPage& book = window_->AddressBook();
    EXPECT_EQ(book.findChild<QTabBar*>()->tabText(0), S(e.indexTab));
    EXPECT_EQ(book.Grid().Column(0).heading, S(e.nameColumn));

    window_->ShowPage(IDD_CALLLOG);
    ASSERT_NE(callLog_, nullptr);
    EXPECT_EQ(callLog_->Grid().Column(1).heading, S(e.kindColumn));
    EXPECT_EQ(callLog_->findChild<QTabBar*>()->tabText(4), S(e.missedTab));
    ASSERT_GE(callLog_->Grid().RowCount(), 1);
    EXPECT_EQ(callLog_->CellText(0, 1), S(e.kindOfCall));

    window_->ShowPage(IDD_SETTINGS);
    SettingsPage& settings = window_->Settings();
    EXPECT_EQ(qobject_cast<QCheckBox*>(settings.Control(IDC_SP_IS_LOCAL))->text(), S(e.checkBox));
    auto* language = qobject_cast<QComboBox*>(settings.Control(IDC_SP_LANGUAGE));
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->itemText(0), S(e.automatic));
    // Each language is named in its own words, whatever the program speaks.
    EXPECT_EQ(language->itemText(1), S("한국어"));
    EXPECT_EQ(language->itemText(2), S("English"));

    settings.OpenBlockList();
    BlockListDialog* editor = settings.BlockList();
    ASSERT_NE(editor, nullptr);
    auto* add = editor->findChild<QPushButton*>("add");
    EXPECT_EQ(add->text(), S(e.addButton));
    add->click();
    EXPECT_EQ(editor->findChild<QLabel*>("status")->text(), S(e.emptyPattern));
    editor->close();

    window_->ShowPage(IDD_ADDRESSBOOK);
    book.Grid().SelectRow(0);
    const QString asked =
        AnswerMessageBox(QMessageBox::No, [&] { Click(book.Control(IDC_CP_DELETE)); });
    EXPECT_EQ(asked, "Vantelo|" + S(e.deleteQuestion));
}

// Every label, check box and push button of each page and of the block list
// editor shows its whole text: what it needs is no wider than it is.
TEST_P(WindowLanguageTest, EveryTextFitsItsControl) {
    OpenAll();
    window_->Settings().OpenBlockList();
    std::vector<QWidget*> roots = {&window_->AddressBook(),
                                   &window_->InnerLine(),
                                   &window_->ContactEdit(),
                                   &window_->Settings(),
                                   callLog_,
                                   window_->Settings().BlockList()};
    int checked = 0;
    for (QWidget* root : roots) {
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(vt::test::TextsThatDoNotFit(*root, &checked), QStringList());
    }
    EXPECT_GT(checked, 20);
}

// The captions painted on the skin fit their buttons and places: the main
// window's at the size the skin draws each, the pages' buttons at the
// largest (13 px bold), field captions at 12 px, indicators' at 10 px.
TEST_P(WindowLanguageTest, EveryPaintedCaptionFitsItsPlace) {
    const QFontMetrics button(PhoneSkin::LabelFont(13, true));
    const QFontMetrics caption(PhoneSkin::LabelFont(12));

    int checked = 0;
    const auto fits = [&](const QFontMetrics& m, const QString& text, int width) {
        ++checked;
        EXPECT_LE(m.horizontalAdvance(text), width) << text.toStdString();
    };
    for (const Place& p : PhoneLayout::MainButtons())
        if (!p.Label().isEmpty())
            fits(QFontMetrics(PhoneSkin::ButtonFont(p)), p.Label(), p.w - 4);
    for (auto table : {PhoneLayout::ContactPageControls(), PhoneLayout::EditPageControls(),
                       PhoneLayout::SettingsPageButtons(), PhoneLayout::CallLogPageControls()})
        for (const Place& p : table)
            if (p.tip && *p.tip && !p.Label().isEmpty())
                fits(button, p.Label(), p.w - 4);
    // Field captions are drawn in the 66 pixels left of their fields.
    for (auto table : {PhoneLayout::ContactPageDetails(), PhoneLayout::EditPageFields()})
        for (const FieldPlace& f : table) fits(caption, f.Label(), 66);
    // Indicator captions: under the socket, 4 pixels over on each side.
    const QFontMetrics small(PhoneSkin::LabelFont(10));
    for (const Place& a : PhoneLayout::MainAreas())
        if (!a.Label().isEmpty())
            fits(small, a.Label(), a.w + 8);
    EXPECT_GT(checked, 40);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, WindowLanguageTest, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) {
                             return info.param.language == Language::English
                                        ? std::string("English")
                                        : std::string("Korean");
                         });

}  // namespace
}  // namespace vantelo::pages::test
