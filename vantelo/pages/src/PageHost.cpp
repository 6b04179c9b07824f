#include "PageHost.h"

#include <QWidget>

namespace vantelo::pages {

void PageHost::Add(int templateId, QWidget* page) {
    page->setGeometry(area_);
    page->hide();
    entries_.push_back({templateId, false, page});
}

bool PageHost::Show(int templateId) {
    Entry* chosen = nullptr;
    for (Entry& e : entries_)
        if (e.templateId == templateId)
            chosen = &e;
    if (!chosen)
        return false;
    for (Entry& e : entries_) {
        if (!e.visible || &e == chosen)
            continue;
        if (listener_)
            listener_(e.templateId, false);
        e.page->hide();
        e.visible = false;
    }
    chosen->page->show();
    chosen->page->raise();
    chosen->page->repaint();
    if (listener_)
        listener_(chosen->templateId, true);
    chosen->visible = true;
    return true;
}

int PageHost::Shown() const {
    for (const Entry& e : entries_)
        if (e.visible)
            return e.templateId;
    return -1;
}

QWidget* PageHost::Page(int templateId) const {
    for (const Entry& e : entries_)
        if (e.templateId == templateId)
            return e.page;
    return nullptr;
}

}  // namespace vantelo::pages
