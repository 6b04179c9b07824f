#include "AboutBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "PhoneSkin.h"

namespace vantelo::pages {

AboutBox::AboutBox(const QPixmap& icon, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("반텔로 정보"));
    setModal(true);
    setFont(PhoneSkin::LabelFont(12));
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* version = new QLabel(tr(kVersionText), this);
    version->setFont(PhoneSkin::LabelFont(13, true));
    auto* notice = new QLabel(QString::fromUtf8(kNotice), this);
    auto* ok = new QPushButton(tr("확인"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(version, 0, 1);
    grid->addWidget(notice, 1, 1);
    grid->addWidget(ok, 0, 2, Qt::AlignTop);
    grid->setHorizontalSpacing(16);
    setFixedSize(sizeHint().expandedTo(QSize(352, 90)));
}

}  // namespace vantelo::pages
