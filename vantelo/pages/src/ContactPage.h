#pragma once
// The address book and inner-line pages: one design over two tables. The
// grid lists the record set (row r is record position r), the fields above
// it show the selected entry and its notes go to the memo box; index tabs,
// the group box and the search narrow the list together; entries are added
// and changed on the contact edit page, deleted here, dialled and their
// links opened by double-click; the address book's row menu blocks a number.

#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PageOwner.h"
#include "vantelo/core/ContactEditSpool.h"
#include "vantelo/core/ContactRecordSet.h"
#include "widgets/GridControl.h"
#include "widgets/SkinImages.h"

class QComboBox;
class QLineEdit;
class QTabBar;

namespace vt::widgets {
class SkinButton;
}

namespace vantelo::pages {

class ContactPage : public QWidget, public vt::widgets::GridSource {
    Q_OBJECT
public:
    // What a double-click on a column does.
    enum class Action { None, DialOutside, DialInner, Email, Web };

    struct GridField {
        const char* heading;
        int width;
        int field;  // index into the contact record
        Action action = Action::None;
        bool rightAligned = false;
    };
    struct Target {
        const char* text;
        int kind;
    };
    struct Design {
        int templateId;
        int gridId;
        std::vector<GridField> columns;
        std::vector<Target> targets;
        int normal, pressed, hover;  // the page's image triple
        int background;              // the page without its buttons
        // A row's context menu offers to block its number (the address
        // book; inner lines are our own extensions).
        bool blockItem = false;
    };

    static const QStringList kIndexTabs;
    static const QStringList kStartGroups;
    static constexpr const char* kAllGroups = QT_TR_NOOP("전체 그룹");

    ~ContactPage() override;

    // Opens the record set on the database file and fills the page. A file
    // that cannot be opened leaves the page empty; the text says why.
    void Open(const std::filesystem::path& database);
    const std::string& OpenError() const { return openError_; }
    // While the shared server is away: the page lists, searches and edits
    // the desk's copy of its table, and each edit is kept in `edits` for
    // the server. UseDatabase goes back to the database.
    void UseCopy(const std::filesystem::path& copy, ContactEditSpool& edits);
    void UseDatabase();
    bool OnCopy() const { return edits_ != nullptr; }

    int TemplateId() const { return design_.templateId; }
    ContactRecordSet& Records() { return *records_; }
    vt::widgets::GridControl& Grid() { return *grid_; }
    const QStringList& Groups() const { return groups_; }
    QWidget* Control(int id) const;
    // The text of a detail field.
    QString DetailText(int id) const;

    // Shows the caller's entry on this page (while a call rings), searched
    // by the number as the book stores it.
    void ShowCaller(const std::string& bookNumber);
    // Reads the table again (another program changed it), keeping the filters.
    void ReloadContacts();
    void AddEntry(const ContactRecord& record);
    void ModifyEntry(const ContactRecord& record);
    void SaveMemo(const QString& text);
    // Shows the selected entry's details and notes (the refresh request).
    void ShowDetails();

    // GridSource
    QString CellText(int row, int column) override;

protected:
    ContactPage(PageOwner& owner, std::unique_ptr<ContactRecordSet> records, Design design,
                const vt::widgets::SkinImages& skin, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(const vt::widgets::SkinImages& skin);
    // Opens the record set on `file` (the database or the copy) and fills the page.
    void OpenRecords(const std::filesystem::path& file);
    // On the copy: keeps the edit of the current record (`contact`: its
    // fields, none for a delete, before the record goes).
    bool Keep(ContactEdit::Kind kind, const ContactRecord* contact);
    void Fill();
    void Refill();
    void AddGroup(const QString& group);
    void OnIndexTab(int index);
    void OnGroup(int index);
    void OnTarget(int index);
    void Search();
    void Add();
    void Modify();
    void Delete();
    void OnDoubleClick(int column, long position);
    void OnContextItem(int item, int row);
    // Adds a block rule for the row's home phone, else its cell phone; the
    // status line says how it went.
    void Block(int row);
    std::optional<ContactRecord> RecordAt(long position);
    // A failed step of the record set is said in a message box.
    bool Check(const storage::Status& status);

    PageOwner& owner_;
    std::unique_ptr<ContactRecordSet> records_;
    Design design_;
    QImage background_;
    vt::widgets::GridControl* grid_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QComboBox* group_ = nullptr;
    QComboBox* target_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    vt::widgets::SkinButton* searchButton_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::map<int, QLineEdit*> details_;
    QStringList groups_;
    std::string openError_;
    std::filesystem::path database_;
    ContactEditSpool* edits_ = nullptr;  // set while the page is on the copy
    int rememberedRow_ = -1;
    // The record last read for the grid: a row's cells are asked one by one.
    int cachedRow_ = -1;
    ContactRecord cached_;
};

}  // namespace vantelo::pages
