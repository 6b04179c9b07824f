// The block list editor as a person uses it, on a real database: rules
// typed into the form are stored or refused with one line (and then nothing
// is stored), the selected rule's kind, action and note are stored as they
// change, and rules are removed by button and by key. What is stored is
// read back through the store and through vtdb, the database's other user.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "BlockListDialog.h"
#include "VtdbProgram.h"
#include "platform/Clock.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/VanteloDatabase.h"
#include "widgets/GridControl.h"

namespace vantelo::pages::test {
namespace {

using Dialog = BlockListDialog;

class BlockListDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok()); }

    void Open() {
        dialog_ = std::make_unique<BlockListDialog>(DefaultDatabasePath());
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    }
    template <typename W>
    W* Get(const char* name) {
        auto* w = dialog_->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Replaces an edit's text by typing, as a person would: Korean comes
    // through the input method, the rest as keys.
    void Type(const char* name, const QString& text) {
        auto* edit = Get<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        bool ascii = true;
        for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(edit, text);
            return;
        }
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(edit, &composed);
    }
    // Picks item `index` of a closed combo box with the arrow keys.
    void Choose(const char* name, int index) {
        auto* box = Get<QComboBox>(name);
        box->setFocus();
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
    }
    void Press(const char* name) {
        auto* b = Get<QPushButton>(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    QString Cell(int row, int column) {
        return dialog_->Grid().model()->index(row, column).data().toString();
    }
    static std::vector<ScreeningRule> Stored() {
        CRSBlockList list(DefaultDatabasePath());
        auto rules = list.Rules();
        EXPECT_TRUE(rules.ok());
        return rules.ok() ? rules.value() : std::vector<ScreeningRule>{};
    }

    vt::test::TestEnvironment env_;
    std::unique_ptr<BlockListDialog> dialog_;
};

TEST_F(BlockListDialogTest, TheFormAddsWhatTheStoreTakesAndRefusesTheRestInOneLine) {
    Open();
    struct Case {
        QString typed;
        int kind, action;  // combo box items
        const char* note;
        bool enter;          // Enter in the pattern edit, else the add button
        const char* stored;  // the pattern stored; nullptr when refused
        QString said;
    };
    const QString tooLong(33, '1');
    const QString longest(32, '1');
    const Case cases[] = {
        {"070*", 0, 1, "광고", true, "070*", "차단 목록에 추가했습니다: 070*"},
        {"  0212345678 ", 1, 0, "", false, "0212345678", "차단 목록에 추가했습니다: 0212345678"},
        {"withheld", 0, 2, "", true, "withheld", "차단 목록에 추가했습니다: withheld"},
        {"02?45*", 0, 0, "", false, "02?45*", "차단 목록에 추가했습니다: 02?45*"},
        {longest, 0, 0, "", true, "11111111111111111111111111111111",
         "차단 목록에 추가했습니다: " + longest},
        {"", 0, 0, "", true, nullptr, "패턴을 입력하세요."},
        {"   ", 0, 0, "", false, nullptr, "패턴을 입력하세요."},
        {tooLong, 0, 0, "", true, nullptr, "패턴은 32자까지 쓸 수 있습니다."},
        {"02-123-4567", 0, 0, "", false, nullptr,
         "패턴에는 숫자와 *, ? 만 쓸 수 있습니다 (또는 withheld, unknown)."},
        {"Withheld", 0, 0, "", true, nullptr,
         "패턴에는 숫자와 *, ? 만 쓸 수 있습니다 (또는 withheld, unknown)."},
        {"070*", 1, 0, "", true, nullptr, "이미 차단 목록에 있는 패턴입니다: 070*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const std::size_t before = Stored().size();
        Type("pattern", c.typed);
        Choose("kind", c.kind);
        if (c.kind == 0)
            Choose("action", c.action);
        Type("note", QString::fromUtf8(c.note));
        if (c.enter)
            QTest::keyClick(Get<QLineEdit>("pattern"), Qt::Key_Return);
        else
            Press("add");
        EXPECT_EQ(dialog_->StatusText(), c.said);
        const std::vector<ScreeningRule> rules = Stored();
        EXPECT_EQ(dialog_->RuleCount(), static_cast<int>(rules.size()));
        if (!c.stored) {
            EXPECT_EQ(rules.size(), before);                        // nothing stored ...
            EXPECT_EQ(Get<QLineEdit>("pattern")->text(), c.typed);  // ... and nothing lost
            continue;
        }
        ASSERT_EQ(rules.size(), before + 1);
        const ScreeningRule& added = rules.back();
        EXPECT_EQ(added.pattern, c.stored);
        EXPECT_EQ(added.kind, c.kind == 1 ? RuleKind::Permit : RuleKind::Block);
        if (c.kind == 0) {
            EXPECT_EQ(static_cast<int>(added.action), c.action);
        }
        EXPECT_EQ(added.note, c.note);
        // The new rule is listed and selected; the form is ready for the next.
        const int row = dialog_->Grid().SelectedRow();
        EXPECT_EQ(row, static_cast<int>(rules.size()) - 1);
        EXPECT_EQ(Cell(row, Dialog::kPattern), QString::fromUtf8(c.stored));
        EXPECT_EQ(Get<QLabel>("selectedPattern")->text(), QString::fromUtf8(c.stored));
        EXPECT_EQ(Get<QLineEdit>("pattern")->text(), "");
    }
    // A permit rule has no action; the form says so by disabling it.
    Choose("kind", 1);
    EXPECT_FALSE(Get<QComboBox>("action")->isEnabled());
    Choose("kind", 0);
    EXPECT_TRUE(Get<QComboBox>("action")->isEnabled());
    // vtdb reads the same rules.
    EXPECT_EQ(Vtdb({"block", "list"}),
              "070*\tblock\tignore\t0\t-\t광고\n"
              "0212345678\tpermit\t-\t0\t-\t\n"
              "withheld\tblock\tgreeting\t0\t-\t\n"
              "02?45*\tblock\thangup\t0\t-\t\n" +
                  longest.toStdString() + "\tblock\thangup\t0\t-\t\n");
}

TEST_F(BlockListDialogTest, TheSelectedRuleIsChangedAtOnceAndKeepsItsHits) {
    {
        CRSBlockList list(DefaultDatabasePath());
        ScreeningRule spam;
        spam.pattern = "070*";
        spam.note = "광고";
        ASSERT_TRUE(list.Add(spam).ok());
        ASSERT_TRUE(list.RecordHit("070*", {2026, 12, 8, 9, 30, 5}).ok());
        ASSERT_TRUE(list.RecordHit("070*", {2026, 12, 9, 14, 2, 0}).ok());
    }
    ASSERT_EQ(Vtdb({"block", "add", "1588*", "--action", "ignore"}), "");
    Open();
    ASSERT_EQ(dialog_->RuleCount(), 2);
    EXPECT_EQ(Cell(0, Dialog::kHits), "2");
    EXPECT_EQ(Cell(0, Dialog::kLastHit), "2026-12-09 14:02:00");
    EXPECT_EQ(Cell(1, Dialog::kAction), "무시");
    EXPECT_EQ(Cell(1, Dialog::kLastHit), "");

    // The first rule is selected at the start; the arrow keys move the
    // selection, and the selected rule's values show in its box.
    EXPECT_EQ(dialog_->Grid().SelectedRow(), 0);
    dialog_->Grid().setFocus();
    QTest::keyClick(&dialog_->Grid(), Qt::Key_Down);
    EXPECT_EQ(Get<QLabel>("selectedPattern")->text(), "1588*");
    EXPECT_EQ(Get<QComboBox>("selectedAction")->currentText(), "무시");
    QTest::keyClick(&dialog_->Grid(), Qt::Key_Up);
    ASSERT_EQ(dialog_->Grid().SelectedRow(), 0);
    EXPECT_EQ(Get<QLabel>("selectedPattern")->text(), "070*");
    EXPECT_EQ(Get<QLineEdit>("selectedNote")->text(), "광고");

    struct Step {
        const char* control;  // a combo box, or the note edit
        int item;             // combo item; -1 for the note
        const char* note;
        RuleKind kind;
        BlockAction action;
        const char* actionCell;
        const char* said;
    };
    const Step steps[] = {
        {"selectedKind", 1, "", RuleKind::Permit, BlockAction::HangUp, "-",
         "규칙을 바꿨습니다: 070*"},
        {"selectedKind", 0, "", RuleKind::Block, BlockAction::HangUp, "끊기",
         "규칙을 바꿨습니다: 070*"},
        {"selectedAction", 2, "", RuleKind::Block, BlockAction::Greeting, "안내 후 끊기",
         "규칙을 바꿨습니다: 070*"},
        {"selectedAction", 1, "", RuleKind::Block, BlockAction::Ignore, "무시",
         "규칙을 바꿨습니다: 070*"},
        {"selectedNote", -1, "인터넷 전화 광고", RuleKind::Block, BlockAction::Ignore, "무시",
         "규칙을 바꿨습니다: 070*"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.control) + " " + std::to_string(s.item));
        if (s.item >= 0) {
            Choose(s.control, s.item);
        } else {
            Type(s.control, QString::fromUtf8(s.note));
            QTest::keyClick(Get<QLineEdit>(s.control), Qt::Key_Return);
        }
        EXPECT_EQ(dialog_->StatusText(), s.said);
        const ScreeningRule stored = Stored().at(0);
        EXPECT_EQ(stored.kind, s.kind);
        if (s.kind == RuleKind::Block) {
            EXPECT_EQ(stored.action, s.action);
        }
        EXPECT_EQ(stored.hits, 2);
        EXPECT_EQ(Cell(0, Dialog::kAction), QString::fromUtf8(s.actionCell));
        EXPECT_EQ(Get<QComboBox>("selectedAction")->isEnabled(), s.kind == RuleKind::Block);
        EXPECT_EQ(dialog_->Grid().SelectedRow(), 0);  // the selection stays
    }
    EXPECT_EQ(Stored().at(0).note, "인터넷 전화 광고");
    EXPECT_EQ(Stored().at(1).action, BlockAction::Ignore);  // the other rule is untouched
    // The note's button stores it too.
    Type("selectedNote", "광고 전화");
    Press("saveNote");
    EXPECT_EQ(Stored().at(0).note, "광고 전화");
    EXPECT_EQ(Cell(0, Dialog::kNote), "광고 전화");
}

TEST_F(BlockListDialogTest, RemovingTakesOutTheSelectedRuleAndSaysWhenItWasGoneAlready) {
    for (const char* p : {"01011112222", "01033334444", "01055556666", "withheld"})
        ASSERT_EQ(Vtdb({"block", "add", p}), "");
    Open();
    ASSERT_EQ(dialog_->RuleCount(), 4);
    dialog_->Grid().SelectRow(1);
    Press("remove");
    EXPECT_EQ(dialog_->StatusText(), "차단 목록에서 지웠습니다: 01033334444");
    // The next rule moves up into the selection: Delete on the grid removes it.
    EXPECT_EQ(Get<QLabel>("selectedPattern")->text(), "01055556666");
    dialog_->Grid().setFocus();
    QTest::keyClick(&dialog_->Grid(), Qt::Key_Delete);
    EXPECT_EQ(dialog_->StatusText(), "차단 목록에서 지웠습니다: 01055556666");
    EXPECT_EQ(Vtdb({"block", "list"}),
              "01011112222\tblock\thangup\t0\t-\t\nwithheld\tblock\thangup\t0\t-\t\n");
    EXPECT_EQ(dialog_->RuleCount(), 2);

    // Removed elsewhere while shown: said in one line, and the list follows.
    dialog_->Grid().SelectRow(0);
    ASSERT_EQ(Vtdb({"block", "remove", "01011112222"}), "");
    Press("remove");
    EXPECT_EQ(dialog_->StatusText(), "차단 목록에 없는 패턴입니다: 01011112222");
    EXPECT_EQ(dialog_->RuleCount(), 1);
    EXPECT_EQ(Cell(0, Dialog::kPattern), "withheld");
    // Nothing selected: the selected rule's box is off and nothing is removed.
    dialog_->Grid().ClearCurrentCell();
    EXPECT_FALSE(Get<QComboBox>("selectedKind")->isEnabled());
    EXPECT_FALSE(dialog_->RemoveSelected());
    EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(BlockListDialogTest, ADatabaseThatCannotBeOpenedIsSaidInOneLine) {
    // A folder where the database file would be.
    const auto folder = env_.AppHome() / "not-a-database";
    std::filesystem::create_directories(folder);
    BlockListDialog dialog(folder);
    EXPECT_TRUE(dialog.StatusText().startsWith("차단 목록을 열지 못했습니다: "))
        << dialog.StatusText().toStdString();
    EXPECT_EQ(dialog.StatusText().count('\n'), 0);
    EXPECT_EQ(dialog.RuleCount(), 0);
    auto* pattern = dialog.findChild<QLineEdit*>(QStringLiteral("pattern"));
    ASSERT_NE(pattern, nullptr);
    pattern->setText(QStringLiteral("070*"));
    EXPECT_FALSE(dialog.AddRule());
    EXPECT_TRUE(dialog.StatusText().startsWith("차단 목록에 추가하지 못했습니다: "))
        << dialog.StatusText().toStdString();
    EXPECT_EQ(pattern->text(), "070*");
}

}  // namespace
}  // namespace vantelo::pages::test
