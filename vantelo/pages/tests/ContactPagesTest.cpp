// The address book, inner-line and contact edit pages on a real database,
// driven through the window as a person would: clicks, typing, message boxes.

#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <fstream>

#include "AddressBookPage.h"
#include "ContactEditPage.h"
#include "InnerLinePage.h"
#include "PhoneLayout.h"
#include "WindowFixture.h"
#include "platform/Clock.h"
#include "storage/RecordSet.h"
#include "testsupport/QtPump.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CallSpool.h"
#include "vantelo/core/ContactEditSpool.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages::test {
namespace {

namespace fs = std::filesystem;
using vt::test::PumpUntil;

// Contact record fields.
constexpr int kHome = 2, kCell = 4, kCompany = 5, kDept = 6, kPhone1 = 10, kInner = 12, kFax = 13,
              kEmail = 14, kWeb = 15, kLastCall = 16, kNotes = 17;

// Typing any text, Hangul too (Qt Test's key clicks know only ASCII).
void TypeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

class ContactPagesTest : public WindowFixture {
protected:
    ContactPage& Book() { return window_->AddressBook(); }
    ContactPage& Inner() { return window_->InnerLine(); }
    ContactEditPage& Edit() { return window_->ContactEdit(); }

    std::vector<std::string> Names(ContactPage& page) {
        std::vector<std::string> out;
        for (int r = 0; r < page.Grid().RowCount(); ++r)
            out.push_back(page.CellText(r, 0).toStdString());
        return out;
    }
    QStringList ComboItems(QWidget* w) {
        auto* combo = qobject_cast<QComboBox*>(w);
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
        return out;
    }
    void ClickRow(ContactPage& page, int row, int column = 0) {
        QTest::mouseClick(page.Grid().viewport(), Qt::LeftButton, {},
                          page.Grid().CellRect(row, column).center());
    }
    void DoubleClickCell(ContactPage& page, int row, int column) {
        QTest::mouseDClick(page.Grid().viewport(), Qt::LeftButton, {},
                           page.Grid().CellRect(row, column).center());
    }
    void Choose(QWidget* w, int index) {
        auto* combo = qobject_cast<QComboBox*>(w);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Type(int editId, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(Edit().Control(editId));
        ASSERT_NE(edit, nullptr) << editId;
        edit->clear();
        TypeText(edit, text);
    }
    void SetGroup(const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(Edit().Control(1007));
        combo->setCurrentText(text);
    }
    void Dial() { phone_.calls.clear(); }
};

TEST_F(ContactPagesTest, AnEmptyTableShowsNothingAndModifyAndDeleteDoNothing) {
    Open();
    EXPECT_EQ(Book().Grid().RowCount(), 0);
    EXPECT_EQ(Book().DetailText(1051), "");
    EXPECT_EQ(Book().Grid().ColumnCount(), 12);
    EXPECT_EQ(Inner().Grid().ColumnCount(), 14);
    EXPECT_EQ(ComboItems(Book().Control(IDC_CP_GROUP)),
              QStringList({"전체 그룹", "그룹 미지정", "가족", "친구", "회사"}));
    EXPECT_EQ(ComboItems(Inner().Control(IDC_CP_TARGET)),
              QStringList({"전체 보기", "이름", "부서", "내선", "전화번호"}));
    EXPECT_EQ(qobject_cast<QTabBar*>(Book().Control(IDC_CP_INDEX_TABS))->count(), 15);
    EXPECT_TRUE(Book().Control(IDC_CP_SEARCH)->isHidden());
    EXPECT_FALSE(Book().Control(IDC_CP_SEARCH_EDIT)->isEnabled());

    Click(Book().Control(IDC_CP_MODIFY));
    Click(Book().Control(IDC_CP_DELETE));  // no question without a row
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
}

TEST_F(ContactPagesTest, AddingAContactThroughTheEditPage) {
    Open();
    Click(Book().Control(IDC_CP_ADD));
    ASSERT_EQ(window_->ShownPage(), IDD_CONTACTEDIT);
    EXPECT_EQ(qobject_cast<QComboBox*>(Edit().Control(1007))->currentText(), "그룹 미지정");

    Type(1003, "홍길동");
    Type(1005, "02-123 4567");
    Type(1006, "(010) 9876-5432");
    Type(1017, "02.555.1234#9");
    Type(1014, "02-123-4568");
    Type(1013, "301");
    Type(1008, "hong@example.com");
    SetGroup("");
    const QString said =
        AnswerMessageBox(QMessageBox::Ok, [&] { Click(Edit().Control(IDC_CE_SAVE)); });
    EXPECT_EQ(said, "Vantelo|그룹을 입력해 주세요.");
    EXPECT_EQ(window_->ShownPage(), IDD_CONTACTEDIT);  // stays

    SetGroup("동창회");
    Click(Edit().Control(IDC_CE_SAVE));
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
    ASSERT_EQ(Names(Book()), std::vector<std::string>{"홍길동"});
    EXPECT_EQ(Book().CellText(0, 2), "021234567");  // telephone fields cleaned
    EXPECT_EQ(Book().CellText(0, 3), "01098765432");
    EXPECT_EQ(Book().CellText(0, 4), "025551234#9");
    EXPECT_EQ(Book().CellText(0, 11), "02-123-4568");  // the fax as typed
    // The new group is at the end of the group box at once.
    EXPECT_EQ(ComboItems(Book().Control(IDC_CP_GROUP)).last(), "동창회");
    EXPECT_TRUE(Book().Groups().contains("동창회"));
    // The inner-line list did not get it.
    EXPECT_EQ(Inner().Grid().RowCount(), 0);
}

TEST_F(ContactPagesTest, ModifyKeepsLastCallAndCancelStoresNothing) {
    ContactRecord c = Contact("김철수", "친구", {{kCell, "0101112222"}, {kLastCall, "2026-01-02"}});
    Store("AddressList", c);
    Open();
    ClickRow(Book(), 0);
    EXPECT_EQ(Book().DetailText(1042), "0101112222");

    Click(Book().Control(IDC_CP_MODIFY));
    ASSERT_EQ(window_->ShownPage(), IDD_CONTACTEDIT);
    EXPECT_EQ(qobject_cast<QLineEdit*>(Edit().Control(1006))->text(), "0101112222");
    EXPECT_EQ(qobject_cast<QComboBox*>(Edit().Control(1007))->currentText(), "친구");
    Type(1003, "김영수");
    Click(Edit().Control(IDC_CE_CANCEL));
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"김철수"});

    ClickRow(Book(), 0);
    Click(Book().Control(IDC_CP_MODIFY));
    Type(1003, "김영수");
    Click(Edit().Control(IDC_CE_SAVE));
    EXPECT_EQ(window_->ShownPage(), IDD_ADDRESSBOOK);
    ASSERT_EQ(Names(Book()), std::vector<std::string>{"김영수"});
    ASSERT_TRUE(Book().Records().SetAbsolutePosition(0).ok());
    EXPECT_EQ(Book().Records().GetText("LastCall"), "2026-01-02");
}

TEST_F(ContactPagesTest, DeleteAsksFirst) {
    Store("AddressList", Contact("가나", "가족"));
    Store("AddressList", Contact("다라", "가족"));
    Open();
    ClickRow(Book(), 1);
    const QString said =
        AnswerMessageBox(QMessageBox::No, [&] { Click(Book().Control(IDC_CP_DELETE)); });
    EXPECT_EQ(said, "Vantelo|삭제하시겠습니까?");
    EXPECT_EQ(Names(Book()).size(), 2u);
    ClickRow(Book(), 1);
    AnswerMessageBox(QMessageBox::Yes, [&] { Click(Book().Control(IDC_CP_DELETE)); });
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"가나"});
}

// While the shared server is away the page works on the desk's copy, and
// every edit made there is kept for the server by the contact's server ID.
TEST_F(ContactPagesTest, OnTheDesksCopyEditsAreKeptForTheServer) {
    const fs::path copy = env_.AppHome() / OfflineCopy::kFileName;
    const vt::Clock& clock = vt::SystemClock::Instance();
    ASSERT_TRUE(OfflineCopy::PrepareFile(clock, copy).ok());
    {
        storage::RecordSet copied(OfflineCopy::CopiedSchema(AddressListSchema()));
        ASSERT_TRUE(copied.Open(copy).ok());
        for (const auto& [name, serverId] : {std::pair{"가나", 7}, std::pair{"다라", 9}}) {
            ASSERT_TRUE(copied.AddNew().ok());
            ASSERT_TRUE(Contact(name, "가족").Write(copied).ok());
            ASSERT_TRUE(copied.SetField(OfflineCopy::kServerIdColumn, serverId).ok());
            ASSERT_TRUE(copied.Update().ok());
        }
    }
    Open();
    ContactEditSpool edits(clock, env_.AppHome() / CallSpool::kFileName, copy);
    Book().UseCopy(copy, edits);
    EXPECT_TRUE(Book().OnCopy());
    EXPECT_EQ(Names(Book()), (std::vector<std::string>{"가나", "다라"}));

    ClickRow(Book(), 0);
    Click(Book().Control(IDC_CP_MODIFY));
    Type(1003, "가나다");
    Click(Edit().Control(IDC_CE_SAVE));
    ClickRow(Book(), 1);
    AnswerMessageBox(QMessageBox::Yes, [&] { Click(Book().Control(IDC_CP_DELETE)); });
    Click(Book().Control(IDC_CP_ADD));
    Type(1003, "마바");
    SetGroup("친구");
    Click(Edit().Control(IDC_CE_SAVE));
    EXPECT_EQ(Names(Book()), (std::vector<std::string>{"가나다", "마바"}));

    auto kept = edits.Edits();
    ASSERT_TRUE(kept.ok()) << kept.status().ToString();
    std::vector<std::string> said;
    for (const ContactEdit& e : kept.value())
        said.push_back(std::to_string(static_cast<int>(e.kind)) + " " + e.table + " " +
                       std::to_string(e.serverId) + " " + e.contact.fields[0]);
    EXPECT_EQ(said, (std::vector<std::string>{"2 AddressList 7 가나다", "3 AddressList 9 ",
                                              "1 AddressList 0 마바"}));

    // The database itself was not touched, and the page goes back to it.
    Book().UseDatabase();
    EXPECT_FALSE(Book().OnCopy());
    EXPECT_EQ(Names(Book()), std::vector<std::string>{});
}

TEST_F(ContactPagesTest, TabsGroupsAndSearchNarrowTogether) {
    Store("AddressList", Contact("가영", "가족", {{kCompany, "한빛"}}));
    Store("AddressList", Contact("나래", "친구", {{kCompany, "한빛"}, {kHome, "0311234567"}}));
    Store("AddressList", Contact("나무", "가족", {{kCompany, "두리"}}));
    Store("AddressList", Contact("다솜", "모임", {{kCompany, "한빛"}}));
    Open();
    // Groups of the table join the set in table order.
    EXPECT_EQ(ComboItems(Book().Control(IDC_CP_GROUP)).last(), "모임");

    auto* tabs = qobject_cast<QTabBar*>(Book().Control(IDC_CP_INDEX_TABS));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());  // "나"
    EXPECT_EQ(Names(Book()), (std::vector<std::string>{"나래", "나무"}));
    Choose(Book().Control(IDC_CP_GROUP), 2);  // "가족"
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"나무"});
    Choose(Book().Control(IDC_CP_GROUP), 0);  // "전체 그룹"
    EXPECT_EQ(Names(Book()).size(), 2u);

    Choose(Book().Control(IDC_CP_TARGET), 2);  // company name
    EXPECT_TRUE(Book().Control(IDC_CP_SEARCH_EDIT)->isEnabled());
    EXPECT_FALSE(Book().Control(IDC_CP_SEARCH)->isHidden());
    auto* edit = qobject_cast<QLineEdit*>(Book().Control(IDC_CP_SEARCH_EDIT));
    edit->setFocus();
    TypeText(edit, "한빛");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"나래"});
    EXPECT_TRUE(phone_.calls.empty());  // typing in the search edit dials nothing

    // "전체 보기" drops the search only; the tab stays.
    Choose(Book().Control(IDC_CP_TARGET), 0);
    EXPECT_EQ(edit->text(), "");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(Book().Control(IDC_CP_SEARCH)->isHidden());
    EXPECT_EQ(Names(Book()), (std::vector<std::string>{"나래", "나무"}));

    Choose(Book().Control(IDC_CP_TARGET), 3);  // telephone
    edit->setText("1234");
    Click(Book().Control(IDC_CP_SEARCH));
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"나래"});
}

TEST_F(ContactPagesTest, DetailsAndNotesFollowTheSelectedRowAndTheMemoIsSaved) {
    Store("AddressList",
          Contact("박하", "회사",
                  {{kEmail, "park@example.com"}, {kDept, "영업"}, {kNotes, "메모1"}}));
    Open();
    ClickRow(Book(), 0);
    EXPECT_EQ(Book().DetailText(1051), "박하");
    EXPECT_EQ(Book().DetailText(1046), "회사");
    EXPECT_EQ(Book().DetailText(1049), "park@example.com");
    EXPECT_EQ(Book().DetailText(1053), "영업");
    EXPECT_EQ(window_->MemoText(), "메모1");

    window_->SaveMemoOnShownPage("새 메모");
    ASSERT_TRUE(Book().Records().SetAbsolutePosition(0).ok());
    EXPECT_EQ(Book().Records().GetText("Notes"), "새 메모");

    // Away and back: the page shows its selected entry's notes again.
    Click(IDC_PAGE_INNERLINE);
    EXPECT_EQ(window_->MemoText(), "");
    Click(IDC_PAGE_ADDRESSBOOK);
    EXPECT_EQ(window_->MemoText(), "새 메모");
}

TEST_F(ContactPagesTest, ContextMenuBlocksTheHomeElseTheCellPhoneOnce) {
    Store("AddressList", Contact("가나", "가족", {{kHome, "02-123 4567"}, {kCell, "0101112222"}}));
    Store("AddressList", Contact("다라", "친구", {{kCell, "010-9876-5432"}}));
    Store("AddressList", Contact("마바", "회사", {{kEmail, "mb@example.com"}}));
    Open();
    ASSERT_EQ(Names(Book()), std::vector<std::string>({"가나", "다라", "마바"}));
    auto chooseBlockOn = [&](int row) {
        const QPoint at = Book().Grid().CellRect(row, 0).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                Book().Grid().viewport()->mapToGlobal(at));
        QApplication::sendEvent(Book().Grid().viewport(), &event);
        QMenu* menu = Book().Grid().OpenContextMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        ASSERT_EQ(menu->actions()[0]->text(), "차단");
        menu->actions()[0]->trigger();
        menu->close();
    };
    auto patterns = [] {
        CRSBlockList rules(DefaultDatabasePath());
        EXPECT_TRUE(rules.Open().ok());
        auto all = rules.Rules();
        EXPECT_TRUE(all.ok()) << all.status().message();
        std::vector<std::string> out;
        if (all.ok())
            for (const ScreeningRule& r : all.value()) {
                EXPECT_EQ(r.kind, RuleKind::Block) << r.pattern;
                EXPECT_EQ(r.action, BlockAction::HangUp) << r.pattern;
                out.push_back(r.pattern);
            }
        return out;
    };
    using V = std::vector<std::string>;

    chooseBlockOn(0);  // the home phone wins over the cell phone
    EXPECT_EQ(window_->StatusText(), "차단 목록에 추가했습니다: 021234567");
    EXPECT_EQ(patterns(), V({"021234567"}));

    chooseBlockOn(0);
    EXPECT_EQ(window_->StatusText(), "이미 차단 목록에 있는 번호입니다: 021234567");
    EXPECT_EQ(patterns(), V({"021234567"}));

    chooseBlockOn(1);  // no home phone: the cell phone
    EXPECT_EQ(window_->StatusText(), "차단 목록에 추가했습니다: 01098765432");
    EXPECT_EQ(patterns(), V({"021234567", "01098765432"}));

    chooseBlockOn(2);
    EXPECT_EQ(window_->StatusText(), "차단할 번호가 없습니다.");
    EXPECT_EQ(patterns(), V({"021234567", "01098765432"}));
    EXPECT_EQ(Book().Grid().RowCount(), 3);
}

TEST_F(ContactPagesTest, TheInnerLinePageHasNoContextMenu) {
    Store("InnerLineList", Contact("최내선", "회사", {{kInner, "305"}}));
    Open();
    Click(IDC_PAGE_INNERLINE);
    ASSERT_EQ(Inner().Grid().RowCount(), 1);
    const QPoint at = Inner().Grid().CellRect(0, 0).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                            Inner().Grid().viewport()->mapToGlobal(at));
    QApplication::sendEvent(Inner().Grid().viewport(), &event);
    EXPECT_EQ(Inner().Grid().OpenContextMenu(), nullptr);
}

TEST_F(ContactPagesTest, DoubleClickDialsAFreeLineOnly) {
    Store("AddressList", Contact("이순", "가족", {{kHome, "0212345678"}, {kCell, ""}}));
    Store("InnerLineList", Contact("최내선", "회사", {{kInner, "305"}, {kPhone1, "0223456789"}}));
    Open();
    DoubleClickCell(Book(), 0, 2);
    EXPECT_EQ(phone_.calls,
              (std::vector<std::string>{"busy?", "dial 0212345678", "hook", "name 이순"}));

    Dial();
    DoubleClickCell(Book(), 0, 3);  // empty field
    DoubleClickCell(Book(), 0, 0);  // the name column does nothing
    EXPECT_TRUE(phone_.calls.empty());

    phone_.lineBusy = true;
    DoubleClickCell(Book(), 0, 2);
    EXPECT_EQ(phone_.calls, std::vector<std::string>{"busy?"});

    // The extension dials inside without asking about the line.
    Click(IDC_PAGE_INNERLINE);
    Dial();
    DoubleClickCell(Inner(), 0, 3);
    EXPECT_EQ(phone_.calls, (std::vector<std::string>{"dial 305", "inner", "name 최내선"}));
    Dial();
    DoubleClickCell(Inner(), 0, 6);  // 회사전화1 while busy
    EXPECT_EQ(phone_.calls, std::vector<std::string>{"busy?"});
}

TEST_F(ContactPagesTest, LinksOpenWithTheirTargetAsOneArgument) {
    // A stand-in xdg-open that writes down its arguments.
    const fs::path bin = env_.Root() / "bin";
    fs::create_directories(bin);
    const fs::path log = env_.Root() / "opened.txt";
    {
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\" >> '" << log.string()
               << "'; done\necho >> '" << log.string() << "'\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    env_.Set("PATH", bin.string() + ":" + std::getenv("PATH"));

    Store("AddressList",
          Contact("링크", "친구", {{kEmail, "a b@example.com"}, {kWeb, "www.example.com/$(x)"}}));
    Open();
    DoubleClickCell(Book(), 0, 6);
    DoubleClickCell(Book(), 0, 7);
    ASSERT_TRUE(PumpUntil([&] {
        std::string text = vt::test::ReadText(log);
        return std::count(text.begin(), text.end(), '\n') == 2;
    }));
    EXPECT_EQ(vt::test::ReadText(log), "[mailto:a b@example.com]\n[www.example.com/$(x)]\n");
}

TEST_F(ContactPagesTest, ARingingCallersEntryIsShownOnItsPage) {
    Store("AddressList", Contact("외부인", "친구", {{kHome, "912345678"}}));
    Store("AddressList", Contact("다른이", "친구", {{kHome, "0311111111"}}));
    Store("InnerLineList", Contact("내선인", "회사", {{kInner, "301"}}));
    Open();
    Click(IDC_PAGE_INNERLINE);
    // The phone's one road to a caller's name.
    DatabasePhoneStore names(vt::SystemClock::Instance(), DefaultDatabasePath());
    const CallerName outside = names.IdentifyCaller("12345678", "9");
    EXPECT_EQ(outside.name, "외부인");
    EXPECT_FALSE(outside.innerLine);
    EXPECT_EQ(names.IdentifyCaller("12", "9").name, "");  // too short

    // Not ringing: the page stays.
    window_->CallerIdentified("12345678", outside);
    QApplication::processEvents();
    EXPECT_EQ(window_->ShownPage(), IDD_INNERLINE);
    EXPECT_EQ(Names(Book()).size(), 2u);

    // Ringing: the entry is shown as well, just after the name is painted.
    phone_.ringing = true;
    window_->CallerIdentified("12345678", outside);
    EXPECT_EQ(window_->ShownPage(), IDD_INNERLINE);
    ASSERT_TRUE(PumpUntil([&] { return window_->ShownPage() == IDD_ADDRESSBOOK; }));
    EXPECT_EQ(Names(Book()), std::vector<std::string>{"외부인"});
    EXPECT_EQ(qobject_cast<QLineEdit*>(Book().Control(IDC_CP_SEARCH_EDIT))->text(), "912345678");
    EXPECT_EQ(qobject_cast<QComboBox*>(Book().Control(IDC_CP_TARGET))->currentIndex(), 3);
    EXPECT_FALSE(Book().Control(IDC_CP_SEARCH)->isHidden());

    // An extension is found on the inner-line page, searched unchanged.
    const CallerName inner = names.IdentifyCaller("301", "9");
    EXPECT_EQ(inner.name, "내선인");
    EXPECT_TRUE(inner.innerLine);
    window_->CallerIdentified("301", inner);
    ASSERT_TRUE(PumpUntil([&] { return window_->ShownPage() == IDD_INNERLINE; }));
    EXPECT_EQ(Names(Inner()), std::vector<std::string>{"내선인"});
    EXPECT_EQ(qobject_cast<QComboBox*>(Inner().Control(IDC_CP_TARGET))->currentText(), "내선");

    // Nobody: nothing moves.
    window_->CallerIdentified("0299999999", names.IdentifyCaller("0299999999", "9"));
    QApplication::processEvents();
    EXPECT_EQ(window_->ShownPage(), IDD_INNERLINE);
}

TEST_F(ContactPagesTest, KeysTypedOnAPageGoToThePhone) {
    Store("AddressList", Contact("키", "친구"));
    Open();
    ClickRow(Book(), 0);
    QTest::keyClicks(&Book().Grid(), "01");
    auto* group = Book().Control(IDC_CP_GROUP);
    QTest::keyClicks(group, "#");
    QTest::keyClick(group, Qt::Key_Backspace);
    EXPECT_EQ(phone_.calls, (std::vector<std::string>{"key 0", "key 1", "key #",
                                                      "key " + std::to_string(Qt::Key_Backspace)}));
}

}  // namespace
}  // namespace vantelo::pages::test
