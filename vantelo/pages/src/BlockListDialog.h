#pragma once
// The block list editor, opened from the settings page: the screening rules
// of the phone's database in a grid that reads only the rows in view (ten
// thousand rules open at once), the selected rule's kind, action and note,
// which are written as soon as they change, and a form for a new rule.
// Every change goes through the same record set as vtdb's block commands; a
// rule the store refuses is said in one line and nothing is stored.

#include <QDialog>
#include <filesystem>
#include <optional>

#include "vantelo/core/CRSBlockList.h"
#include "widgets/GridSource.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vt::widgets {
class GridControl;
}

namespace vantelo::pages {

class BlockListDialog : public QDialog, private vt::widgets::GridSource {
    Q_OBJECT
public:
    // The grid's columns.
    enum Column { kPattern, kKind, kAction, kHits, kLastHit, kNote };

    explicit BlockListDialog(std::filesystem::path database, QWidget* parent = nullptr);

    vt::widgets::GridControl& Grid() const { return *grid_; }
    int RuleCount() const;
    // The last outcome: what was stored, or why not.
    QString StatusText() const;

    // The form's rule added; false (and the reason shown) when refused.
    bool AddRule();
    // The selected rule takes the kind, action and note shown for it.
    bool ChangeSelected();
    bool RemoveSelected();

    // The words shown for a kind and an action (also the combo box items).
    static QString KindText(RuleKind kind);
    static QString ActionText(BlockAction action);

private:
    QString CellText(int row, int column) override;
    // The rule at a row; nothing when it cannot be read (gone meanwhile).
    std::optional<ScreeningRule> RuleAt(int row);
    // Lists every rule again and selects `row` (clamped; -1: none).
    void Reload(int row);
    // The selected rule into its box; changes and removal act on that rule.
    void ShowSelected();
    void Say(const QString& text, bool refused);
    // Why the store refused `pattern` (status `s`), in one line.
    QString Refusal(const QString& pattern, const storage::Status& s, const QString& failed) const;

    CRSBlockList rules_;
    storage::Status listed_;  // the last listing: every rule, or why not
    bool open_ = false;
    vt::widgets::GridControl* grid_ = nullptr;
    int cachedRow_ = -1;
    ScreeningRule cached_;

    std::optional<ScreeningRule> shown_;
    QGroupBox* selectedBox_ = nullptr;
    QLabel* selectedPattern_ = nullptr;
    QComboBox* selectedKind_ = nullptr;
    QComboBox* selectedAction_ = nullptr;
    QLineEdit* selectedNote_ = nullptr;

    QLineEdit* pattern_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* action_ = nullptr;
    QLineEdit* note_ = nullptr;

    QLabel* status_ = nullptr;
};

}  // namespace vantelo::pages
