#include "ContactPage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>

#include "AccessibleNames.h"
#include "BlockCaller.h"
#include "LinkOpener.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "widgets/QtText.h"
#include "widgets/SkinButton.h"

namespace vantelo::pages {

using vt::widgets::Q;
using vt::widgets::SkinButton;

namespace {

constexpr int kNotes = 17;
constexpr int kName = 0;
constexpr int kGroup = 1;
constexpr int kHome = 2;
constexpr int kCell = 4;
constexpr int kBlockItem = 1;

// Keys that dial from a page: digits, '#', '*', '+', '-', Backspace, Enter.
bool IsDialKey(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            break;
    }
    const QString t = e.text();
    return t.size() == 1 && (t[0].isDigit() || QStringLiteral("#*+-").contains(t[0]));
}

// The index's first tab, which shows everybody.
constexpr const char* kAllTab = QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "전체");

// The number a caller is looked up by: an outside number (more than 4
// characters, not beginning with '0') with the outside-line code in front.

}  // namespace

const QStringList ContactPage::kIndexTabs = {"전체", "가", "나", "다", "라", "마", "바", "사",
                                             "아",   "자", "차", "카", "타", "파", "하"};
const QStringList ContactPage::kStartGroups = {"그룹 미지정", "가족", "친구", "회사"};

ContactPage::ContactPage(PageOwner& owner, std::unique_ptr<ContactRecordSet> records, Design design,
                         const vt::widgets::SkinImages& skin, QWidget* parent)
    : QWidget(parent), owner_(owner), records_(std::move(records)), design_(std::move(design)) {
    Build(skin);
}

ContactPage::~ContactPage() {
    records_->Close();
}

void ContactPage::Build(const vt::widgets::SkinImages& skin) {
    background_ = skin.Image(design_.background);
    setFixedSize(background_.size());
    setFont(PhoneSkin::LabelFont(12));

    tabs_ = new QTabBar(this);
    // The Korean initials index Korean names in every language; "all" is said.
    for (const QString& t : kIndexTabs) tabs_->addTab(t == kAllTab ? tr(kAllTab) : t);
    tabs_->setExpanding(true);
    tabs_->setDrawBase(false);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 10px; padding: 3px 4px; }"));
    group_ = new QComboBox(this);
    target_ = new QComboBox(this);
    searchEdit_ = new QLineEdit(this);
    for (const Target& t : design_.targets) target_->addItem(tr(t.text));
    controls_ = {{IDC_CP_INDEX_TABS, tabs_},
                 {IDC_CP_GROUP, group_},
                 {IDC_CP_TARGET, target_},
                 {IDC_CP_SEARCH_EDIT, searchEdit_}};

    const auto triple = PhoneSkin::Triple(skin, design_.normal, design_.pressed, design_.hover);
    for (const Place& p : PhoneLayout::ContactPageControls()) {
        if (p.id == IDC_CP_GRID)
            continue;
        if (p.tip && *p.tip)
            controls_[p.id] = PhoneSkin::Button(this, p, triple);
        else
            controls_[p.id]->setGeometry(p.Rect());
    }
    searchButton_ = static_cast<SkinButton*>(controls_[IDC_CP_SEARCH]);
    searchButton_->hide();
    searchEdit_->setEnabled(false);

    for (const FieldPlace& f : PhoneLayout::ContactPageDetails()) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setGeometry(f.Rect());
        edit->setFocusPolicy(Qt::ClickFocus);
        details_[f.id] = edit;
    }

    grid_ = new vt::widgets::GridControl(this, this);
    grid_->setGeometry(PhoneLayout::RectOf(PhoneLayout::ContactPageControls(), IDC_CP_GRID));
    std::vector<vt::widgets::GridColumn> columns;
    for (const GridField& c : design_.columns)
        columns.push_back({tr(c.heading), c.width,
                           (c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter});
    grid_->SetColumns(columns);
    grid_->SetFonts(PhoneSkin::LabelFont(11), PhoneSkin::LabelFont(11, true));
    controls_[design_.gridId] = grid_;
    if (design_.blockItem)
        grid_->SetContextItems({{kBlockItem, BlockCallerText(kBlockItemText)}});

    connect(tabs_, &QTabBar::currentChanged, this, &ContactPage::OnIndexTab);
    connect(group_, &QComboBox::activated, this, &ContactPage::OnGroup);
    connect(target_, &QComboBox::activated, this, &ContactPage::OnTarget);
    connect(searchButton_, &QAbstractButton::clicked, this, &ContactPage::Search);
    auto button = [this](int id) { return static_cast<SkinButton*>(controls_[id]); };
    connect(button(IDC_CP_ADD), &QAbstractButton::clicked, this, &ContactPage::Add);
    connect(button(IDC_CP_MODIFY), &QAbstractButton::clicked, this, &ContactPage::Modify);
    connect(button(IDC_CP_DELETE), &QAbstractButton::clicked, this, &ContactPage::Delete);
    connect(grid_, &vt::widgets::GridControl::RowChanged, this, &ContactPage::ShowDetails);
    connect(grid_, &vt::widgets::GridControl::CellDoubleClicked, this, &ContactPage::OnDoubleClick);
    connect(grid_, &vt::widgets::GridControl::ContextItemChosen, this, &ContactPage::OnContextItem);
    connect(grid_, &vt::widgets::GridControl::KeyPassed, this,
            [this](int key, Qt::KeyboardModifiers m, const QString& text) {
                owner_.Phone().OnKey(key, m, text);
            });
    for (QWidget* w : {static_cast<QWidget*>(tabs_), static_cast<QWidget*>(group_),
                       static_cast<QWidget*>(target_)})
        w->installEventFilter(this);
    for (auto& [id, edit] : details_) edit->installEventFilter(this);
    searchEdit_->installEventFilter(this);
    const auto control = [this](int id) { return Control(id); };
    AccessibleNames::Apply(AccessibleNames::ContactPage(), control);
    AccessibleNames::Apply(PhoneLayout::ContactPageDetails(), control);
}

void ContactPage::Open(const std::filesystem::path& database) {
    database_ = database;
    edits_ = nullptr;
    OpenRecords(database);
}

void ContactPage::UseCopy(const std::filesystem::path& copy, ContactEditSpool& edits) {
    edits_ = &edits;
    OpenRecords(copy);
}

void ContactPage::UseDatabase() {
    edits_ = nullptr;
    OpenRecords(database_);
}

void ContactPage::OpenRecords(const std::filesystem::path& database) {
    records_->Close();
    rememberedRow_ = -1;  // a row of the other table
    groups_ = kStartGroups;
    group_->clear();
    group_->addItem(tr(kAllGroups));
    group_->addItems(groups_);
    group_->setCurrentIndex(0);
    target_->setCurrentIndex(0);
    searchEdit_->clear();
    searchEdit_->setEnabled(false);
    searchButton_->hide();

    storage::Status s = records_->Open(database);
    openError_ = s.ok() ? std::string() : s.message();
    if (s.ok()) {
        // Every group the table uses joins the set, in table order; read in
        // one pass, as a large book would take seconds record by record.
        auto groups = records_->ColumnValues("Group");
        if (groups.ok())
            for (const storage::Value& g : groups.value()) AddGroup(Q(g.AsText()));
        else
            openError_ = groups.status().message();
    }
    Fill();
}

QWidget* ContactPage::Control(int id) const {
    auto it = controls_.find(id);
    if (it != controls_.end())
        return it->second;
    auto d = details_.find(id);
    return d == details_.end() ? nullptr : d->second;
}

QString ContactPage::DetailText(int id) const {
    auto it = details_.find(id);
    return it == details_.end() ? QString() : it->second->text();
}

void ContactPage::AddGroup(const QString& group) {
    if (group.isEmpty() || groups_.contains(group))
        return;
    groups_.append(group);
    group_->addItem(group);
}

void ContactPage::Fill() {
    cachedRow_ = -1;
    const long count = records_->IsOpen() ? records_->GetRecordCount() : 0;
    grid_->SetRowCount(static_cast<int>(count));
    grid_->ClearCurrentCell();
    grid_->viewport()->update();
}

void ContactPage::ReloadContacts() {
    if (!records_->IsOpen())
        return;
    Check(records_->ReApply());
    Refill();
}

void ContactPage::Refill() {
    Fill();
    ShowDetails();
}

std::optional<ContactRecord> ContactPage::RecordAt(long position) {
    if (!records_->IsOpen() || position < 0 || position >= records_->GetRecordCount())
        return std::nullopt;
    if (!records_->SetAbsolutePosition(position).ok())
        return std::nullopt;
    auto record = records_->CurrentContact();
    if (!record.ok())
        return std::nullopt;
    return record.value();
}

QString ContactPage::CellText(int row, int column) {
    if (row != cachedRow_) {
        auto record = RecordAt(row);
        if (!record)
            return {};
        cached_ = *record;
        cachedRow_ = row;
    }
    const auto field = static_cast<std::size_t>(design_.columns[column].field);
    return Q(cached_.fields[field]);
}

void ContactPage::ShowDetails() {
    const int row = grid_->SelectedRow();
    const auto record = row < 0 ? std::nullopt : RecordAt(row);
    for (const FieldPlace& f : PhoneLayout::ContactPageDetails())
        details_[f.id]->setText(record ? Q(record->fields[f.field]) : QString());
    owner_.SetMemoText(record ? Q(record->fields[kNotes]) : QString());
}

bool ContactPage::Check(const storage::Status& status) {
    if (!status.ok())
        owner_.Inform(Q(status.message()));
    return status.ok();
}

void ContactPage::OnIndexTab(int index) {
    Check(records_->SetIndex(index));
    Refill();
}

void ContactPage::OnGroup(int index) {
    Check(records_->SetGroup(index <= 0 ? std::string() : group_->itemText(index).toStdString()));
    Refill();
}

void ContactPage::OnTarget(int index) {
    if (index <= 0) {
        Check(records_->SetSearch(0, ""));
        searchEdit_->clear();
        searchEdit_->setEnabled(false);
        searchButton_->hide();
        Refill();
        return;
    }
    searchEdit_->setEnabled(true);
    searchButton_->show();
}

void ContactPage::Search() {
    const int index = target_->currentIndex();
    const int kind = index < 0 ? 0 : design_.targets[static_cast<std::size_t>(index)].kind;
    Check(records_->SetSearch(kind, searchEdit_->text().toStdString()));
    Refill();
}

void ContactPage::Add() {
    owner_.BeginContactEdit(false, ContactRecord{}, groups_);
}

void ContactPage::Modify() {
    const int row = grid_->SelectedRow();
    const auto record = row < 0 ? std::nullopt : RecordAt(row);
    if (!record)
        return;
    rememberedRow_ = row;
    owner_.BeginContactEdit(true, *record, groups_);
}

bool ContactPage::Keep(ContactEdit::Kind kind, const ContactRecord* contact) {
    if (!edits_)
        return true;
    const std::string& table = records_->Schema().name;
    if (kind == ContactEdit::Kind::Add)
        return Check(edits_->KeepAdd(table, records_->GetLastModified(), *contact));
    auto id = records_->GetRecordId();
    if (!Check(id.status()))
        return false;
    if (kind == ContactEdit::Kind::Change)
        return Check(edits_->KeepChange(table, id.value(), *contact));
    return Check(edits_->KeepDelete(table, id.value()));
}

void ContactPage::AddEntry(const ContactRecord& record) {
    if (!Check(records_->AddContact(record)) || !Keep(ContactEdit::Kind::Add, &record))
        return;
    AddGroup(Q(record.fields[kGroup]));
    Check(records_->ReApply());
    Fill();
}

void ContactPage::ModifyEntry(const ContactRecord& record) {
    if (rememberedRow_ < 0 || !RecordAt(rememberedRow_))
        return;
    if (!Check(records_->StoreCurrent(record)) || !Keep(ContactEdit::Kind::Change, &record))
        return;
    AddGroup(Q(record.fields[kGroup]));
    Check(records_->ReApply());
    Refill();
}

void ContactPage::Delete() {
    const int row = grid_->SelectedRow();
    if (row < 0 || !owner_.AskYesNo(tr("삭제하시겠습니까?")))
        return;
    // On the copy the delete is kept first: it needs the record's server ID.
    if (!RecordAt(row) || !Keep(ContactEdit::Kind::Delete, nullptr) || !Check(records_->Delete()))
        return;
    Check(records_->ReApply());
    Refill();
}

void ContactPage::SaveMemo(const QString& text) {
    const int row = grid_->SelectedRow();
    auto record = row < 0 ? std::nullopt : RecordAt(row);
    if (!record)
        return;
    record->fields[kNotes] = text.toStdString();
    if (Check(records_->StoreCurrent(*record)) && Keep(ContactEdit::Kind::Change, &*record)) {
        cachedRow_ = -1;
        grid_->RefreshRows();
    }
}

void ContactPage::OnDoubleClick(int column, long position) {
    if (column < 0 || column >= static_cast<int>(design_.columns.size()))
        return;
    const auto record = RecordAt(position);
    if (!record)
        return;
    const GridField& c = design_.columns[static_cast<std::size_t>(column)];
    const std::string& value = record->fields[static_cast<std::size_t>(c.field)];
    if (value.empty())
        return;
    PhoneActions& phone = owner_.Phone();
    switch (c.action) {
        case Action::DialOutside:
            // Outside dialling waits for a free line; nothing is said otherwise.
            if (phone.IsLineBusy())
                return;
            phone.SetDialNumber(value);
            phone.HookButton();
            phone.SetCallName(record->fields[kName]);
            break;
        case Action::DialInner:
            phone.SetDialNumber(value);
            phone.DialInner();
            phone.SetCallName(record->fields[kName]);
            break;
        case Action::Email:
            LinkOpener::Open(QStringLiteral("mailto:") + Q(value));
            break;
        case Action::Web:
            LinkOpener::Open(Q(value));
            break;
        case Action::None:
            break;
    }
}

void ContactPage::OnContextItem(int item, int row) {
    if (item == kBlockItem)
        Block(row);
}

void ContactPage::Block(int row) {
    const auto record = RecordAt(row);
    if (!record)
        return;
    const std::string& home = record->fields[kHome];
    owner_.SetStatusText(BlockCaller(database_, home.empty() ? record->fields[kCell] : home));
}

void ContactPage::ShowCaller(const std::string& bookNumber) {
    if (!records_->IsOpen())
        return;
    const std::string& searchNumber = bookNumber;
    cachedRow_ = -1;
    owner_.ShowPage(design_.templateId);
    const QSignalBlocker blockTabs(tabs_);
    tabs_->setCurrentIndex(0);
    group_->setCurrentIndex(0);
    target_->setCurrentIndex(3);
    searchEdit_->setText(Q(searchNumber));
    searchEdit_->setEnabled(true);
    searchButton_->show();
    Check(records_->SetIndex(0));
    Check(records_->SetGroup(""));
    Check(records_->SetSearch(3, searchNumber));
    Refill();
}

void ContactPage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

void ContactPage::keyPressEvent(QKeyEvent* event) {
    if (IsDialKey(*event)) {
        owner_.Phone().OnKey(event->key(), event->modifiers(), event->text());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Keys typed on the page's other controls dial, as on the page itself.
bool ContactPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == searchEdit_) {
            // Enter searches; every other key is the edit's own.
            if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
                return false;
            Search();
            return true;
        }
        if (IsDialKey(*key)) {
            owner_.Phone().OnKey(key->key(), key->modifiers(), key->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantelo::pages
