#pragma once
// The pages of the main window, created once and shown one at a time in the
// page area. Showing a page hides the visible one first; the listener hears
// of each page hidden (before it goes) and shown (after it is painted).

#include <QRect>
#include <functional>
#include <vector>

class QWidget;

namespace vantelo::pages {

class PageHost {
public:
    struct Entry {
        int templateId;
        bool visible;
        QWidget* page;
    };

    explicit PageHost(QRect area) : area_(area) {}

    void SetListener(std::function<void(int templateId, bool shown)> listener) {
        listener_ = std::move(listener);
    }

    // Places the page in the area, hidden.
    void Add(int templateId, QWidget* page);
    // Shows the page of the template; false (and nothing changes) for an
    // unknown template.
    bool Show(int templateId);
    // The template shown, or -1.
    int Shown() const;
    QWidget* Page(int templateId) const;
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    QRect area_;
    std::vector<Entry> entries_;
    std::function<void(int, bool)> listener_;
};

}  // namespace vantelo::pages
