#pragma once
// The call log page: the logged calls newest first (grid row r is record
// N - r - 1), narrowed by kind tab or by a search, with the memo of the
// selected call in the memo box; deletes calls with their recordings, backs
// them up with their recordings, exports the rows to CSV, blocks a call's
// number from the row menu, and dials or plays a call by double-click.

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "CallLogPlayer.h"
#include "PageOwner.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/pages/CallLogActions.h"
#include "widgets/GridControl.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinImages.h"

class QComboBox;
class QLineEdit;
class QSlider;
class QTabBar;

namespace vantelo::pages {

class PhoneWindow;

// Controls of the call log page.
inline constexpr int IDC_CL_SEARCH_EDIT = 1000;
inline constexpr int IDC_CL_TABS = 1001;
inline constexpr int IDC_CL_GRID = 1026;
inline constexpr int IDC_CL_TARGET = 1027;
inline constexpr int IDC_CL_SEARCH = 1029;
inline constexpr int IDC_CL_PLAY = 1036;
inline constexpr int IDC_CL_STOP = 1037;
inline constexpr int IDC_CL_DELETE_ALL = 1039;
inline constexpr int IDC_CL_DELETE = 1040;
inline constexpr int IDC_CL_BACKUP_ALL = 1042;
inline constexpr int IDC_CL_HEADSET = 1141;
inline constexpr int IDC_CL_BACKUP = 1177;
inline constexpr int IDC_CL_SLIDER = 1178;
inline constexpr int IDC_CL_EXPORT_CSV = 1179;
inline constexpr int IDC_CL_CAPTION_TARGET = 1149;  // "검색 대상"
inline constexpr int IDC_CL_CAPTION_TEXT = 1150;    // "검색어"
// Context-menu items.
inline constexpr int IDM_CL_DELETE = 3001;
inline constexpr int IDM_CL_BACKUP = 3002;
inline constexpr int IDM_CL_DIAL = 3003;
inline constexpr int IDM_CL_EXPORT_CSV = 3004;
inline constexpr int IDM_CL_BLOCK = 3005;

class CallListPage : public QWidget,
                     public vt::widgets::GridSource,
                     private CallLogPlayer::Controls {
    Q_OBJECT
public:
    static constexpr const char* kEmptyText = QT_TR_NOOP("선택된 날짜의 목록이 비어 있습니다.");
    static constexpr const char* kBackupDoneText = QT_TR_NOOP("통화 목록의 백업이 완료되었습니다.");
    static constexpr const char* kDateText =
        QT_TR_NOOP("정확한 날짜를 입력해 주세요. (예, YYMMDD 또는 YY-MM-DD).");

    CallListPage(PageOwner& owner, CallLogActions& actions, const vt::widgets::SkinImages& skin,
                 QWidget* parent = nullptr);
    ~CallListPage() override;

    // Makes the page and installs it in the window's page host (shown by the
    // call log page button). It opens on the window's database once the
    // window has first painted, or before that when it is shown or its calls
    // are asked for: reading a large log is no part of the first picture.
    static CallListPage* InstallInto(PhoneWindow& window, CallLogActions& actions,
                                     const std::filesystem::path& database);

    // Opens the call log on the database file and fills the grid; warns,
    // once the event loop runs, when it holds more than 900000 calls. A file
    // that cannot be opened leaves the page empty; the text says why.
    void Open(const std::filesystem::path& database);
    const std::string& OpenError() {
        OpenIfWaiting();
        return openError_;
    }

    CRSCallList& Records() {
        OpenIfWaiting();
        return *records_;
    }
    CallLogPlayer& Player() { return *player_; }
    vt::widgets::GridControl& Grid() {
        OpenIfWaiting();
        return *grid_;
    }
    QWidget* Control(int id) const;
    // The looks of the two-look buttons, by name: Play/Pause 1036 "Play",
    // "Pause" or "Decoding"; the output switch 1141 "Speaker" or "Headset".
    // False for a name the button does not have (nothing changes).
    bool SetButtonLook(int id, const QString& look);
    QString ButtonLook(int id) const;

    // The refresh request: the selected call's memo to the memo box, and any
    // playback stopped.
    void ShowMemo();
    void SaveMemo(const QString& text);
    // A call was logged: the grid is filled again from a fresh query, so it
    // shows on top. The selected call stays selected and its playback, the
    // memo box and the filter are left alone.
    void ShowNewCalls();
    // The call at a grid row, or none.
    std::optional<CallRecord> CallAtRow(int row);

    // Asks where backups and exports go; the folder browser by default.
    void SetFolderChooser(std::function<std::optional<std::filesystem::path>()> chooser) {
        chooseFolder_ = std::move(chooser);
    }
    void SetCsvFileChooser(std::function<std::optional<std::filesystem::path>()> chooser) {
        chooseCsv_ = std::move(chooser);
    }

    // GridSource
    QString CellText(int row, int column) override;
    long RecordPosition(int row) override { return PositionOfRow(row); }

signals:
    // ShowNewCalls filled the grid again.
    void NewCallsShown();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The calls and the sound output, before the page first shows.
    void showEvent(QShowEvent* event) override;
    // CallLogPlayer::Controls
    void ShowPlayLook(PlayLook look, const QString& toolTip) override;
    void ShowOutputLook(bool speaker, const QString& toolTip) override;
    int SliderPosition() const override;
    void SetSliderPosition(int position) override;
    void EnableSlider(bool enable) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(const vt::widgets::SkinImages& skin);
    // Opens on `database` once the window has first painted, or when first
    // needed (OpenIfWaiting), whichever comes first.
    void OpenLater(const std::filesystem::path& database);
    void OpenIfWaiting();
    void Fill();
    void Refill();
    void OnTab(int index);
    void OnTarget(int index);
    void Search();
    void OnDoubleClick(int column, long position);
    void OnContextItem(int item, int row);
    void Dial(long position);
    // Adds a block rule for the row's number; the status line says how it went.
    void Block(int row);
    void DeleteSelected();
    void DeleteAll();
    // The backup question (Yes: delete after, No: keep) and the folder, then
    // `write` begins and fills the backup; `erase` deletes what it holds after
    // a Yes when nothing failed. Nothing happens when the user cancels either.
    void BackupThenDelete(const QString& question, const std::function<void(CallLogBackup&)>& write,
                          const std::function<void()>& erase);
    void BackupAll();
    void BackupSelected();
    void ExportCsv();
    // Deletes the call at the position with its recording; a recording that
    // cannot be removed keeps its call and is reported.
    void DeleteAt(long position);
    // Deletes every call of the result the same way, in one go, showing its
    // progress; false when the user stopped it (nothing is then deleted).
    bool DeleteEveryRecord();
    // Puts back, or removes, the recordings an unfinished deletion left aside.
    void RecoverRecordings(const std::filesystem::path& database);
    // Says which calls were kept for their recordings, or why nothing changed.
    void ReportDeletion(const storage::Result<CallDeletion>& done);
    bool SeekRow(int row);
    long PositionOfRow(int row) const;
    bool Check(const storage::Status& status);
    int Ask(const QString& text, int buttons, int icon);
    void Notify(const QString& text, int icon);
    void ReportBackup(const CallLogBackup& backup);

    PageOwner& owner_;
    CallLogActions& actions_;
    std::unique_ptr<CRSCallList> records_;
    std::unique_ptr<CallLogPlayer> player_;
    vt::widgets::GridControl* grid_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QComboBox* target_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QSlider* slider_ = nullptr;
    std::map<int, QWidget*> controls_;
    QImage background_;
    std::map<QString, vt::widgets::SkinTriple> looks_;
    std::map<int, QString> lookNames_;
    std::string openError_;
    std::optional<std::filesystem::path> waitingToOpen_;
    std::filesystem::path database_;
    std::function<std::optional<std::filesystem::path>()> chooseFolder_;
    std::function<std::optional<std::filesystem::path>()> chooseCsv_;
    int cachedRow_ = -1;
    CallRecord cached_;
};

}  // namespace vantelo::pages
