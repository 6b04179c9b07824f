#pragma once
// What the pages ask of the main window: the phone, page switching, the memo
// box, the status line, message boxes and the hand-over of a contact between
// a page and the edit page.

#include <QString>
#include <QStringList>

#include "vantelo/core/ContactRecord.h"
#include "vantelo/pages/PhoneActions.h"

namespace vantelo::pages {

class PageOwner {
public:
    virtual ~PageOwner() = default;

    virtual PhoneActions& Phone() = 0;
    virtual void ShowPage(int templateId) = 0;
    virtual void SetMemoText(const QString& text) = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // Message boxes titled "Vantelo" with the information icon.
    virtual bool AskYesNo(const QString& text) = 0;
    virtual void Inform(const QString& text) = 0;

    // A page opens the edit page for a new entry (`modify` false) or for
    // `record`, offering its group set.
    virtual void BeginContactEdit(bool modify, const ContactRecord& record,
                                  const QStringList& groups) = 0;
    // The edit page saved `record` or was cancelled; both return to the page
    // that opened it.
    virtual void FinishContactEdit(const ContactRecord& record) = 0;
    virtual void CancelContactEdit() = 0;
};

}  // namespace vantelo::pages
