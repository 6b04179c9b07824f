#pragma once
// The contact edit page shared by the address book and inner-line pages:
// the 17 fields of a contact (LastCall is carried, not shown), Save and
// Cancel. Save cleans the four telephone fields to digits, '*' and '#',
// refuses an empty group, and hands the record back through the owner.

#include <QWidget>
#include <map>

#include "PageOwner.h"
#include "vantelo/core/ContactRecord.h"
#include "widgets/SkinImages.h"

class QComboBox;

namespace vantelo::pages {

class ContactEditPage : public QWidget {
    Q_OBJECT
public:
    ContactEditPage(PageOwner& owner, const vt::widgets::SkinImages& skin,
                    QWidget* parent = nullptr);

    void PrepareForAdd(const QStringList& groups);
    void PrepareForModify(const ContactRecord& record, const QStringList& groups);

    QWidget* Control(int id) const;
    // The record as the fields hold it now, telephone fields cleaned.
    ContactRecord Entered() const;
    // Keeps only the digits, '*' and '#' of a telephone field.
    static std::string CleanPhone(const std::string& text);

    void Save();
    void Cancel();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Clear(const QStringList& groups);
    void SetField(int field, const QString& text);

    PageOwner& owner_;
    QImage background_;
    QComboBox* group_ = nullptr;
    std::map<int, QWidget*> controls_;
    // Field index -> the control that edits it.
    std::map<int, QWidget*> fields_;
    std::string lastCall_;
};

}  // namespace vantelo::pages
