#include "CardDavDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "directory/CardDavSettings.h"
#include "platform/IniStore.h"

namespace vantelo::pages {

CardDavDialog::CardDavDialog(std::filesystem::path settingsFile, std::function<void()> saved,
                             std::function<void()> syncNow, QWidget* parent)
    : QDialog(parent),
      file_(std::move(settingsFile)),
      saved_(std::move(saved)),
      syncNow_(std::move(syncNow)) {
    setWindowTitle(tr("주소록 서버(CardDAV)"));
    auto* form = new QFormLayout;
    url_ = new QLineEdit(this);
    url_->setPlaceholderText(QStringLiteral("https://dav.example.org/user/contacts/"));
    user_ = new QLineEdit(this);
    passwordFile_ = new QLineEdit(this);
    minutes_ = new QSpinBox(this);
    minutes_->setRange(1, 1440);
    form->addRow(tr("주소:"), url_);
    form->addRow(tr("사용자:"), user_);
    form->addRow(tr("비밀번호 파일:"), passwordFile_);
    form->addRow(tr("동기화 간격(분):"), minutes_);
    auto* note = new QLabel(tr("비밀번호는 비밀 저장소(secret-tool)나 0600 파일에 둡니다"), this);
    note->setWordWrap(true);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* sync = buttons->addButton(tr("지금 동기화"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sync, &QPushButton::clicked, this, &CardDavDialog::SyncNow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    Load();
}

QString CardDavDialog::StatusText() const {
    return status_->text();
}

void CardDavDialog::Load() {
    std::string error;
    const auto s = directory::LoadCardDavSettings(&error, file_);
    const directory::CardDavSettings shown = s.value_or(directory::CardDavSettings{});
    url_->setText(QString::fromStdString(shown.url));
    user_->setText(QString::fromStdString(shown.user));
    passwordFile_->setText(QString::fromStdString(shown.passwordFile.string()));
    minutes_->setValue(shown.syncMinutes);
    status_->setText(QString::fromStdString(error));
}

bool CardDavDialog::Save() {
    vt::IniStore store(file_);
    store.Load();  // a missing file is an empty one
    directory::CardDavSettings s;
    s.url = url_->text().trimmed().toStdString();
    s.user = user_->text().trimmed().toStdString();
    s.passwordFile = passwordFile_->text().trimmed().toStdString();
    s.syncMinutes = minutes_->value();
    directory::WriteCardDavSettings(store, s);
    std::string error;
    const auto checked = directory::ReadCardDavSettings(store, &error);
    if (!checked) {
        status_->setText(QString::fromStdString(error));
        return false;
    }
    if (checked->Enabled()) {  // as the sync reads it
        directory::WriteCardDavSettings(store, *checked);
        url_->setText(QString::fromStdString(checked->url));
    }
    if (!store.Save()) {
        status_->setText(
            tr("설정 파일 %1에 쓸 수 없습니다").arg(QString::fromStdString(file_.string())));
        return false;
    }
    status_->clear();
    if (saved_)
        saved_();
    return true;
}

void CardDavDialog::SyncNow() {
    if (Save() && syncNow_)
        syncNow_();
}

}  // namespace vantelo::pages
