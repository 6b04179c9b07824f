#pragma once
// "반텔로 정보": the program's icon, name and version, the maker's notice
// and an OK button.

#include <QDialog>

namespace vantelo::pages {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersionText = QT_TR_NOOP("Vantelo Manager 버전 2.1");
    static constexpr const char* kNotice = "Copyright (C) Korvane. All rights reserved.";

    AboutBox(const QPixmap& icon, QWidget* parent = nullptr);
};

}  // namespace vantelo::pages
