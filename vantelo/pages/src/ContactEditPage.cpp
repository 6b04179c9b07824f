#include "ContactEditPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "AccessibleNames.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/QtText.h"
#include "widgets/SkinButton.h"

namespace vantelo::pages {

namespace {

constexpr int kGroup = 1;
constexpr int kLastCall = 16;
constexpr int kNotes = 17;
// HomePhone, CellPhone, CompanyPhone1, CompanyPhone2.
constexpr int kPhoneFields[] = {2, 4, 10, 11};

}  // namespace

ContactEditPage::ContactEditPage(PageOwner& owner, const vt::widgets::SkinImages& skin,
                                 QWidget* parent)
    : QWidget(parent), owner_(owner), background_(skin.Image(IDB_CONTACTEDIT_BACK)) {
    setFixedSize(background_.size());
    setFont(PhoneSkin::LabelFont(12));
    for (const FieldPlace& f : PhoneLayout::EditPageFields()) {
        QWidget* w;
        if (f.field == kGroup) {
            w = group_ = new QComboBox(this);
            group_->setEditable(true);
            group_->setInsertPolicy(QComboBox::NoInsert);
        } else {
            w = new QLineEdit(this);
        }
        w->setGeometry(f.Rect());
        controls_[f.id] = w;
        fields_[f.field] = w;
    }
    const auto triple = PhoneSkin::Triple(skin, IDB_CONTACTEDIT_NORMAL, IDB_CONTACTEDIT_PRESSED,
                                          IDB_CONTACTEDIT_HOVER);
    for (const Place& p : PhoneLayout::EditPageControls()) {
        if (p.id == IDC_CE_NOTES) {
            auto* notes = new QPlainTextEdit(this);
            notes->setGeometry(p.Rect());
            controls_[p.id] = notes;
            fields_[kNotes] = notes;
            continue;
        }
        auto* b = PhoneSkin::Button(this, p, triple);
        controls_[p.id] = b;
        connect(b, &QAbstractButton::clicked, this,
                p.id == IDC_CE_SAVE ? &ContactEditPage::Save : &ContactEditPage::Cancel);
    }
    const auto control = [this](int id) { return Control(id); };
    AccessibleNames::Apply(PhoneLayout::EditPageFields(), control);
    AccessibleNames::Apply(AccessibleNames::EditPage(), control);
}

QWidget* ContactEditPage::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void ContactEditPage::Clear(const QStringList& groups) {
    for (auto& [field, w] : fields_) {
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->clear();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
            text->clear();
    }
    group_->clear();
    group_->addItems(groups);
    group_->setCurrentIndex(0);
    lastCall_.clear();
}

void ContactEditPage::SetField(int field, const QString& text) {
    QWidget* w = fields_[field];
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(text);
    else if (auto* notes = qobject_cast<QPlainTextEdit*>(w))
        notes->setPlainText(text);
}

void ContactEditPage::PrepareForAdd(const QStringList& groups) {
    Clear(groups);
}

void ContactEditPage::PrepareForModify(const ContactRecord& record, const QStringList& groups) {
    Clear(groups);
    for (auto& [field, w] : fields_)
        if (field != kGroup)
            SetField(field, vt::widgets::Q(record.fields[field]));
    const QString group = vt::widgets::Q(record.fields[kGroup]);
    if (!group.isEmpty() && group_->findText(group) < 0)
        group_->addItem(group);
    group_->setCurrentText(group);
    lastCall_ = record.fields[kLastCall];
}

std::string ContactEditPage::CleanPhone(const std::string& text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '*' || c == '#')
            out += c;
    return out;
}

ContactRecord ContactEditPage::Entered() const {
    ContactRecord record;
    for (const auto& [field, w] : fields_) {
        QString text;
        if (auto* line = qobject_cast<QLineEdit*>(w))
            text = line->text();
        else if (auto* notes = qobject_cast<QPlainTextEdit*>(w))
            text = notes->toPlainText();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            text = combo->currentText();
        record.fields[field] = text.toStdString();
    }
    for (int f : kPhoneFields) record.fields[f] = CleanPhone(record.fields[f]);
    record.fields[kLastCall] = lastCall_;
    return record;
}

void ContactEditPage::Save() {
    const ContactRecord record = Entered();
    if (record.fields[kGroup].empty()) {
        owner_.Inform(tr("그룹을 입력해 주세요."));
        return;
    }
    owner_.FinishContactEdit(record);
}

void ContactEditPage::Cancel() {
    owner_.CancelContactEdit();
}

void ContactEditPage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

}  // namespace vantelo::pages
