#include "BlockListDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "BlockCaller.h"
#include "PhoneSkin.h"
#include "platform/TranslateNoop.h"
#include "storage/DateTimeText.h"
#include "vantelo/core/VanteloDatabase.h"
#include "widgets/GridControl.h"
#include "widgets/QtText.h"

namespace vantelo::pages {

using vt::widgets::Q;

namespace {

constexpr const char* kHint = QT_TRANSLATE_NOOP(
    "vantelo::pages::BlockListDialog",
    "패턴: 숫자, * (자릿수 상관없이), ? (한 자리), 또는 withheld (발신 번호 표시 제한), "
    "unknown (발신 번호 없음). 허용 규칙은 모든 차단 규칙보다 앞섭니다.");
constexpr const char* kChangeFailedText =
    QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "차단 목록을 고치지 못했습니다: ");
constexpr const char* kOpenFailedText =
    QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "차단 목록을 열지 못했습니다: ");

// Reload's row for "the last one", where a new rule is listed.
constexpr int kLastRow = std::numeric_limits<int>::max();

const QColor kRefusedInk(196, 40, 40);
const QColor kDoneInk(0, 110, 125);

QPushButton* Button(const char* name, const char* text, const char* tip, QWidget* parent) {
    auto* b = new QPushButton(BlockListDialog::tr(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(BlockListDialog::tr(tip));
    // Enter belongs to the edit it is typed in (add, or save the note), never
    // to whichever button happens to be the default.
    b->setAutoDefault(false);
    return b;
}

QComboBox* KindBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    for (RuleKind k : {RuleKind::Block, RuleKind::Permit})
        box->addItem(BlockListDialog::KindText(k));
    return box;
}

QComboBox* ActionBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    for (BlockAction a : {BlockAction::HangUp, BlockAction::Ignore, BlockAction::Greeting})
        box->addItem(BlockListDialog::ActionText(a));
    box->setToolTip(
        BlockListDialog::tr("끊기: 받자마자 끊습니다. 무시: 울리게 두고 받지 않습니다. "
                            "안내 후 끊기: 받아서 안내 멘트를 들려준 뒤 끊습니다."));
    return box;
}

QLineEdit* NoteEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    // As long as the table keeps, so a note is never refused for its length.
    const storage::TableSchema schema = BlockListSchema();
    edit->setMaxLength(schema.columns[static_cast<size_t>(schema.FindColumn("Note"))].maxChars);
    return edit;
}

RuleKind KindOf(const QComboBox* box) {
    return box->currentIndex() == 1 ? RuleKind::Permit : RuleKind::Block;
}

// The combo boxes list the actions in the order of BlockAction.
BlockAction ActionOf(const QComboBox* box) {
    return static_cast<BlockAction>(std::max(0, box->currentIndex()));
}

// A permit rule lets the call through: it has no action.
void FollowKind(const QComboBox* kind, QComboBox* action) {
    action->setEnabled(kind->isEnabled() && KindOf(kind) == RuleKind::Block);
}

}  // namespace

BlockListDialog::BlockListDialog(std::filesystem::path database, QWidget* parent)
    : QDialog(parent), rules_(std::move(database)) {
    setWindowTitle(tr("차단 목록"));
    setFont(PhoneSkin::LabelFont(12));
    QPalette panel = palette();
    panel.setColor(QPalette::Window, PhoneSkin::PanelColour());
    setPalette(panel);
    setAutoFillBackground(true);

    auto* hint = new QLabel(tr(kHint), this);
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: rgb(80, 88, 104);"));

    grid_ = new vt::widgets::GridControl(this, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setAccessibleName(tr("차단 규칙"));
    grid_->setTabKeyNavigation(false);
    grid_->SetFonts(PhoneSkin::LabelFont(11), PhoneSkin::LabelFont(11, true));
    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    grid_->SetColumns({{tr("패턴"), 132},
                       {tr("구분"), 48, centred},
                       {tr("동작"), 92, centred},
                       {tr("횟수"), 48, Qt::AlignRight | Qt::AlignVCenter},
                       {tr("마지막 적용"), 136, centred},
                       {tr("메모"), 160}});
    grid_->horizontalHeader()->setStretchLastSection(true);  // the note takes what is left
    grid_->setMinimumHeight(200);

    // The selected rule: kind and action are written as soon as they are
    // chosen, the note with its button or Enter.
    selectedBox_ = new QGroupBox(tr("선택한 규칙"), this);
    selectedPattern_ = new QLabel(selectedBox_);
    selectedPattern_->setObjectName(QStringLiteral("selectedPattern"));
    selectedKind_ = KindBox("selectedKind", selectedBox_);
    selectedAction_ = ActionBox("selectedAction", selectedBox_);
    selectedNote_ = NoteEdit("selectedNote", selectedBox_);
    auto* saveNote = Button(
        "saveNote", QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "메모 저장"),
        QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "선택한 규칙의 메모를 저장합니다."),
        selectedBox_);
    auto* remove = Button(
        "remove", QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "삭제"),
        QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "선택한 규칙을 지웁니다 (Delete 키)."),
        selectedBox_);
    auto* selectedForm = new QFormLayout(selectedBox_);
    selectedForm->addRow(tr("패턴"), selectedPattern_);
    selectedForm->addRow(tr("구분"), selectedKind_);
    selectedForm->addRow(tr("동작"), selectedAction_);
    selectedForm->addRow(tr("메모"), selectedNote_);
    auto* selectedButtons = new QHBoxLayout;
    selectedButtons->addStretch();
    selectedButtons->addWidget(saveNote);
    selectedButtons->addWidget(remove);
    selectedForm->addRow(selectedButtons);

    auto* newBox = new QGroupBox(tr("새 규칙"), this);
    pattern_ = new QLineEdit(newBox);
    pattern_->setObjectName(QStringLiteral("pattern"));
    pattern_->setPlaceholderText(tr("예: 070*, 0212345678, withheld"));
    kind_ = KindBox("kind", newBox);
    action_ = ActionBox("action", newBox);
    note_ = NoteEdit("note", newBox);
    auto* add = Button("add", QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "추가"),
                       QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog",
                                         "이 규칙을 차단 목록에 넣습니다 (Enter)."),
                       newBox);
    auto* newForm = new QFormLayout(newBox);
    newForm->addRow(tr("패턴"), pattern_);
    newForm->addRow(tr("구분"), kind_);
    newForm->addRow(tr("동작"), action_);
    newForm->addRow(tr("메모"), note_);
    auto* newButtons = new QHBoxLayout;
    newButtons->addStretch();
    newButtons->addWidget(add);
    newForm->addRow(newButtons);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextFormat(Qt::PlainText);
    // One line however long the reason: the full text is in its tool tip.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* close = Button(
        "close", QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "닫기"),
        QT_TRANSLATE_NOOP("vantelo::pages::BlockListDialog", "차단 목록을 닫습니다 (Esc)."), this);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(selectedBox_, 1);
    boxes->addWidget(newBox, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(grid_, 1);
    layout->addLayout(boxes);
    layout->addLayout(bottom);

    setTabOrder(grid_, selectedKind_);
    setTabOrder(selectedKind_, selectedAction_);
    setTabOrder(selectedAction_, selectedNote_);
    setTabOrder(selectedNote_, saveNote);
    setTabOrder(saveNote, remove);
    setTabOrder(remove, pattern_);
    setTabOrder(pattern_, kind_);
    setTabOrder(kind_, action_);
    setTabOrder(action_, note_);
    setTabOrder(note_, add);
    setTabOrder(add, close);

    connect(grid_, &vt::widgets::GridControl::RowChanged, this, &BlockListDialog::ShowSelected);
    connect(grid_, &vt::widgets::GridControl::KeyPassed, this, [this](int key) {
        if (key == Qt::Key_Delete)
            RemoveSelected();
        else if (key == Qt::Key_Escape)
            reject();
    });
    connect(selectedKind_, &QComboBox::activated, this, [this] {
        FollowKind(selectedKind_, selectedAction_);
        ChangeSelected();
    });
    connect(selectedAction_, &QComboBox::activated, this, [this] { ChangeSelected(); });
    connect(selectedNote_, &QLineEdit::returnPressed, this, [this] { ChangeSelected(); });
    connect(saveNote, &QPushButton::clicked, this, [this] { ChangeSelected(); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { FollowKind(kind_, action_); });
    connect(pattern_, &QLineEdit::returnPressed, this, [this] { AddRule(); });
    connect(note_, &QLineEdit::returnPressed, this, [this] { AddRule(); });
    connect(add, &QPushButton::clicked, this, [this] { AddRule(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // The first rule selected, so the arrow keys start from it.
    Reload(0);
    if (!listed_.ok())
        Say(tr(kOpenFailedText) + Q(listed_.message()), true);
    resize(680, 540);
    pattern_->setFocus();
}

QString BlockListDialog::KindText(RuleKind kind) {
    return kind == RuleKind::Permit ? tr("허용") : tr("차단");
}

QString BlockListDialog::ActionText(BlockAction action) {
    switch (action) {
        case BlockAction::HangUp:
            return tr("끊기");
        case BlockAction::Ignore:
            return tr("무시");
        case BlockAction::Greeting:
            return tr("안내 후 끊기");
    }
    return tr("끊기");
}

int BlockListDialog::RuleCount() const {
    return open_ ? static_cast<int>(rules_.GetRecordCount()) : 0;
}

QString BlockListDialog::StatusText() const {
    return status_->text();
}

std::optional<ScreeningRule> BlockListDialog::RuleAt(int row) {
    if (row < 0)
        return std::nullopt;
    if (row == cachedRow_)
        return cached_;
    if (!open_ || !rules_.SetAbsolutePosition(row).ok())
        return std::nullopt;
    ScreeningRule rule = rules_.CurrentRule();
    if (rule.pattern.empty())  // removed elsewhere since the list was read
        return std::nullopt;
    cached_ = std::move(rule);
    cachedRow_ = row;
    return cached_;
}

QString BlockListDialog::CellText(int row, int column) {
    const std::optional<ScreeningRule> rule = RuleAt(row);
    if (!rule)
        return {};
    switch (column) {
        case kPattern:
            return Q(rule->pattern);
        case kKind:
            return KindText(rule->kind);
        case kAction:
            return rule->kind == RuleKind::Permit ? QStringLiteral("-") : ActionText(rule->action);
        case kHits:
            return QString::number(rule->hits);
        case kLastHit:
            return rule->lastHit ? Q(storage::FormatDateTime(*rule->lastHit)) : QString();
        case kNote:
            return Q(rule->note);
        default:
            return {};
    }
}

void BlockListDialog::Reload(int row) {
    // Every write filters the set on its pattern; list them all again.
    listed_ = rules_.ShowAll();
    open_ = listed_.ok();
    cachedRow_ = -1;
    grid_->SetRowCount(RuleCount());
    grid_->SelectRow(std::min(row, RuleCount() - 1));
    grid_->RefreshRows();
    ShowSelected();
}

void BlockListDialog::ShowSelected() {
    shown_ = RuleAt(grid_->SelectedRow());
    const std::optional<ScreeningRule>& rule = shown_;
    selectedBox_->setEnabled(rule.has_value());
    selectedPattern_->setText(rule ? Q(rule->pattern) : QStringLiteral("-"));
    selectedKind_->setCurrentIndex(rule && rule->kind == RuleKind::Permit ? 1 : 0);
    selectedAction_->setCurrentIndex(rule ? static_cast<int>(rule->action) : 0);
    selectedNote_->setText(rule ? Q(rule->note) : QString());
    FollowKind(selectedKind_, selectedAction_);
}

void BlockListDialog::Say(const QString& text, bool refused) {
    status_->setText(text);
    status_->setToolTip(text);
    status_->setStyleSheet(
        QStringLiteral("color: %1;").arg((refused ? kRefusedInk : kDoneInk).name()));
}

QString BlockListDialog::Refusal(const QString& pattern, const storage::Status& s,
                                 const QString& failed) const {
    if (s.code() == storage::ErrorCode::InvalidArgument) {
        // The store refused the rule; say why in the program's words.
        switch (PatternFaultOf(pattern.toStdString())) {
            case PatternFault::Empty:
                return tr("패턴을 입력하세요.");
            case PatternFault::TooLong:
                return tr("패턴은 %1자까지 쓸 수 있습니다.").arg(kMaxPatternLength);
            case PatternFault::BadCharacter:
                return tr("패턴에는 숫자와 *, ? 만 쓸 수 있습니다 (또는 withheld, unknown).");
            case PatternFault::None:
                return tr("이미 차단 목록에 있는 패턴입니다: ") + pattern;
        }
    }
    if (s.code() == storage::ErrorCode::NoCurrentRecord)
        return tr("차단 목록에 없는 패턴입니다: ") + pattern;
    return failed + Q(s.message());
}

bool BlockListDialog::AddRule() {
    const QString pattern = pattern_->text().trimmed();
    ScreeningRule rule;
    rule.pattern = pattern.toStdString();
    rule.kind = KindOf(kind_);
    rule.action = ActionOf(action_);
    rule.note = note_->text().toStdString();
    const storage::Status added = rules_.Add(rule);
    const int row = grid_->SelectedRow();
    Reload(added.ok() ? kLastRow : row);
    if (!added.ok()) {
        Say(Refusal(pattern, added, BlockCallerText(kBlockFailedText)), true);
        pattern_->setFocus();
        return false;
    }
    Say(BlockCallerText(kBlockedText) + pattern, false);
    pattern_->clear();
    note_->clear();
    return true;
}

bool BlockListDialog::ChangeSelected() {
    // The rule as the box shows it, even if its row has moved meanwhile.
    if (!shown_)
        return false;
    const int row = grid_->SelectedRow();
    ScreeningRule rule = *shown_;
    rule.kind = KindOf(selectedKind_);
    rule.action = ActionOf(selectedAction_);
    rule.note = selectedNote_->text().toStdString();
    const storage::Status changed = rules_.Change(rule);
    Reload(row);
    const QString pattern = Q(rule.pattern);
    if (!changed.ok()) {
        Say(Refusal(pattern, changed, tr(kChangeFailedText)), true);
        return false;
    }
    Say(tr("규칙을 바꿨습니다: ") + pattern, false);
    return true;
}

bool BlockListDialog::RemoveSelected() {
    if (!shown_)
        return false;
    const int row = grid_->SelectedRow();
    const std::optional<ScreeningRule> selected = shown_;
    const storage::Status removed = rules_.Remove(selected->pattern);
    Reload(row);
    const QString pattern = Q(selected->pattern);
    if (!removed.ok()) {
        Say(Refusal(pattern, removed, tr(kChangeFailedText)), true);
        return false;
    }
    Say(tr("차단 목록에서 지웠습니다: ") + pattern, false);
    return true;
}

}  // namespace vantelo::pages
