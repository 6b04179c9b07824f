#include "CallListPage.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <cstdio>

#include "AccessibleNames.h"
#include "BlockCaller.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "PhoneWindow.h"
#include "platform/Translate.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/RecordingRecovery.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/FileDialogs.h"
#include "widgets/FirstPaint.h"
#include "widgets/QtText.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinSlider.h"
#include "workbook/WorkbookWriter.h"

namespace vantelo::pages {

namespace fs = std::filesystem;
using vt::widgets::FileDialogs;
using vt::widgets::Q;

namespace {

struct Column {
    const char* heading;
    int width;
    bool centred;
};
// The dialog's widths, widened for the fonts and fitted into the page.
constexpr Column kColumns[] = {
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "번호"), 50, true},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "종류"), 34, true},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "날짜"), 62, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "시간"), 56, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "이름"), 66, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "전화번호"), 86, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "통화"), 40, true},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "녹음"), 32, false},
    {"DTMF", 44, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "내선"), 32, false},
    {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "메모"), 86, false}};
constexpr int kColumnCount = 11;
constexpr int kNumberColumn = 5, kRecordingColumn = 7;

constexpr const char* kTabs[] = {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "전체"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "발신"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "착신"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "수신"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "부재중"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "자동응답"),
                                 QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "음성녹음")};
constexpr const char* kTargets[] = {QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "전체선택"),
                                    QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "이름"),
                                    QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "전화번호"),
                                    QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "날짜"),
                                    "DTMF",
                                    QT_TRANSLATE_NOOP("vantelo::pages::CallListPage", "메모")};

QString Printf(const char* format, int a, int b, int c = -1) {
    char buf[32];
    if (c < 0)
        std::snprintf(buf, sizeof buf, format, a, b);
    else
        std::snprintf(buf, sizeof buf, format, a, b, c);
    return QString::fromLatin1(buf);
}

// Characters that dial from the page (or go to the search edit).
bool IsDialCharacter(const QKeyEvent& e) {
    if (e.key() == Qt::Key_Backspace)
        return true;
    const QString t = e.text();
    return t.size() == 1 && (t[0].isDigit() || QStringLiteral("#*+-").contains(t[0]));
}
bool IsEnter(const QKeyEvent& e) {
    return e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter;
}

bool SameCall(const CallRecord& a, const CallRecord& b) {
    const vt::LocalTime &x = a.CallDate, &y = b.CallDate;
    return x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour &&
           x.minute == y.minute && x.second == y.second && a.CallMode == b.CallMode &&
           a.CallNum == b.CallNum && a.CallName == b.CallName && a.CallTime == b.CallTime &&
           a.CallRecFileName == b.CallRecFileName && a.CallMemo == b.CallMemo;
}

}  // namespace

CallListPage::CallListPage(PageOwner& owner, CallLogActions& actions,
                           const vt::widgets::SkinImages& skin, QWidget* parent)
    : QWidget(parent), owner_(owner), actions_(actions), records_(std::make_unique<CRSCallList>()) {
    chooseFolder_ = [this]() -> std::optional<fs::path> {
        const QString dir = FileDialogs::Choose(
            this, {FileDialogs::Kind::Folder, QStringLiteral("Select Destination")});
        if (dir.isEmpty())
            return std::nullopt;
        return fs::path(dir.toStdString());
    };
    chooseCsv_ = [this]() -> std::optional<fs::path> {
        FileDialogs::Request request(FileDialogs::Kind::SaveFile, tr("CSV로 내보내기"));
        request.fileName = QStringLiteral("calls.csv");
        request.filters = QStringList{QStringLiteral("CSV (*.csv)")};
        const QString file = FileDialogs::Choose(this, request);
        if (file.isEmpty())
            return std::nullopt;
        return fs::path(file.toStdString());
    };
    Build(skin);
    // Its sound output is made when the page first shows or plays.
    CallLogPlayer::Controls& controls = *this;
    player_ = std::make_unique<CallLogPlayer>(actions_, controls);
}

CallListPage* CallListPage::InstallInto(PhoneWindow& window, CallLogActions& actions,
                                        const fs::path& database) {
    auto* page = new CallListPage(window, actions, window.Skin(), &window);
    page->OpenLater(database);
    window.InstallPage(
        IDD_CALLLOG, page,
        {[page] { page->ShowMemo(); }, [page](const QString& text) { page->SaveMemo(text); }});
    return page;
}

CallListPage::~CallListPage() {
    // Stopped while the page's controls still stand.
    player_->Stop();
    player_.reset();
    records_->Close();
}

void CallListPage::Build(const vt::widgets::SkinImages& skin) {
    background_ = skin.Image(IDB_CALLLOG_BACK);
    setFixedSize(background_.size());
    setFont(PhoneSkin::LabelFont(12));
    looks_ = {{QStringLiteral("Play"),
               PhoneSkin::Triple(skin, IDB_CALLLOG_NORMAL, IDB_CALLLOG_PRESSED, IDB_CALLLOG_HOVER)},
              {QStringLiteral("Pause"),
               PhoneSkin::Triple(skin, IDB_CALLLOG_LIT_NORMAL, IDB_CALLLOG_LIT_PRESSED,
                                 IDB_CALLLOG_LIT_HOVER)},
              {QStringLiteral("Decoding"),
               PhoneSkin::Triple(skin, IDB_CALLLOG_DECODING_NORMAL, IDB_CALLLOG_DECODING_PRESSED,
                                 IDB_CALLLOG_DECODING_HOVER)}};
    // The output switch draws its speaker look in the plain images and its
    // headset look in the lit ones.
    looks_[QStringLiteral("Speaker")] = looks_[QStringLiteral("Play")];
    looks_[QStringLiteral("Headset")] = looks_[QStringLiteral("Pause")];

    tabs_ = new QTabBar(this);
    for (const char* t : kTabs) tabs_->addTab(tr(t));
    tabs_->setExpanding(true);
    tabs_->setDrawBase(false);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 10px; padding: 3px 4px; }"));
    target_ = new QComboBox(this);
    for (const char* t : kTargets) target_->addItem(tr(t));
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setEnabled(false);
    auto* slider = new vt::widgets::SkinSlider(Qt::Horizontal, this);
    slider->SetColours(QColor(120, 132, 150), QColor(0, 150, 170));
    slider_ = slider;
    slider_->setRange(0, 100);
    slider_->setTickInterval(1);
    slider_->setValue(0);
    grid_ = new vt::widgets::GridControl(this, this);
    controls_ = {{IDC_CL_TABS, tabs_},
                 {IDC_CL_TARGET, target_},
                 {IDC_CL_SEARCH_EDIT, searchEdit_},
                 {IDC_CL_SLIDER, slider_},
                 {IDC_CL_GRID, grid_}};
    for (const Place& p : PhoneLayout::CallLogPageControls()) {
        if (p.tip && *p.tip)
            controls_[p.id] = PhoneSkin::Button(this, p, looks_[QStringLiteral("Play")]);
        else if (QWidget* w = Control(p.id))
            w->setGeometry(p.Rect());
    }
    lookNames_ = {{IDC_CL_PLAY, QStringLiteral("Play")},
                  {IDC_CL_HEADSET, QStringLiteral("Speaker")}};
    auto button = [this](int id) { return static_cast<QAbstractButton*>(controls_[id]); };
    auto* search = button(IDC_CL_SEARCH);

    std::vector<vt::widgets::GridColumn> columns;
    for (const Column& c : kColumns)
        columns.push_back({tr(c.heading), c.width,
                           (c.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter});
    grid_->SetColumns(columns);
    grid_->SetFonts(PhoneSkin::LabelFont(11), PhoneSkin::LabelFont(11, true));
    grid_->SetContextItems({{IDM_CL_DELETE, tr("삭제")},
                            {IDM_CL_BACKUP, tr("백업")},
                            {IDM_CL_DIAL, QStringLiteral("Dial")},
                            {IDM_CL_EXPORT_CSV, tr("CSV로 내보내기")},
                            {IDM_CL_BLOCK, BlockCallerText(kBlockItemText)}});

    auto* play = button(IDC_CL_PLAY);
    auto* stop = button(IDC_CL_STOP);
    auto* headset = button(IDC_CL_HEADSET);
    auto* del = button(IDC_CL_DELETE);
    auto* delAll = button(IDC_CL_DELETE_ALL);
    auto* backup = button(IDC_CL_BACKUP);
    auto* backupAll = button(IDC_CL_BACKUP_ALL);
    auto* csv = button(IDC_CL_EXPORT_CSV);

    connect(tabs_, &QTabBar::currentChanged, this, &CallListPage::OnTab);
    connect(target_, &QComboBox::activated, this, &CallListPage::OnTarget);
    connect(search, &QAbstractButton::clicked, this, &CallListPage::Search);
    connect(play, &QAbstractButton::clicked, this,
            [this] { player_->PlayButton(CallAtRow(grid_->SelectedRow())); });
    connect(stop, &QAbstractButton::clicked, this, [this] { player_->Stop(); });
    connect(headset, &QAbstractButton::clicked, this, [this] { player_->OutputButton(); });
    connect(del, &QAbstractButton::clicked, this, &CallListPage::DeleteSelected);
    connect(delAll, &QAbstractButton::clicked, this, &CallListPage::DeleteAll);
    connect(backup, &QAbstractButton::clicked, this, &CallListPage::BackupSelected);
    connect(backupAll, &QAbstractButton::clicked, this, &CallListPage::BackupAll);
    connect(csv, &QAbstractButton::clicked, this, &CallListPage::ExportCsv);
    connect(grid_, &vt::widgets::GridControl::RowChanged, this, &CallListPage::ShowMemo);
    connect(grid_, &vt::widgets::GridControl::CellDoubleClicked, this,
            &CallListPage::OnDoubleClick);
    connect(grid_, &vt::widgets::GridControl::ContextItemChosen, this,
            &CallListPage::OnContextItem);
    connect(grid_, &vt::widgets::GridControl::KeyPassed, this,
            [this](int key, Qt::KeyboardModifiers m, const QString& text) {
                owner_.Phone().OnKey(key, m, text);
            });
    for (QWidget* w : {static_cast<QWidget*>(tabs_), static_cast<QWidget*>(target_),
                       static_cast<QWidget*>(searchEdit_)})
        w->installEventFilter(this);
    // Playing and the headset output are the on states of their buttons.
    for (int id : {IDC_CL_PLAY, IDC_CL_HEADSET})
        static_cast<vt::widgets::SkinButton*>(controls_[id])
            ->SetKind(vt::widgets::SkinButton::Kind::Toggle);
    AccessibleNames::Apply(AccessibleNames::CallLogPage(), [this](int id) { return Control(id); });
}

void CallListPage::RecoverRecordings(const fs::path& database) {
    const RecoveredRecordings done = RecordingRecovery::Run(actions_.ApplicationFolder(), database);
    for (const std::string& f : done.restored) actions_.WriteLog("Recording restored: " + f);
    for (const std::string& f : done.removed) actions_.WriteLog("Recording removed: " + f);
    for (const std::string& f : done.left) actions_.WriteLog("Recording left aside: " + f);
    if (done.left.empty())
        return;
    QString text = tr("삭제 중이던 녹음 파일을 되돌리지 못했습니다:");
    for (const std::string& f : done.left) text += "\n" + Q(f);
    // Told once the window stands, as the size warning is.
    QTimer::singleShot(0, this, [this, text] { owner_.Inform(text); });
}

void CallListPage::OpenLater(const fs::path& database) {
    waitingToOpen_ = database;
    vt::widgets::FirstPaint::Then(*window(), this, [this] { OpenIfWaiting(); });
}

void CallListPage::OpenIfWaiting() {
    if (!waitingToOpen_)
        return;
    const fs::path database = *waitingToOpen_;
    Open(database);
}

void CallListPage::showEvent(QShowEvent* event) {
    OpenIfWaiting();
    // Without a sound output the page still plays to the adapter.
    player_->Setup();
    QWidget::showEvent(event);
}

void CallListPage::Open(const fs::path& database) {
    waitingToOpen_.reset();
    // Before anything can delete again, and before the rows are read.
    RecoverRecordings(database);
    records_->Close();
    records_ = std::make_unique<CRSCallList>(database);
    database_ = database;
    const storage::Status s = records_->Open();
    openError_ = s.ok() ? std::string() : s.message();
    Fill();
    // Told once the window stands: a box during start-up would hold the
    // window back until it is answered.
    if (s.ok() && records_->NeedsSizeWarning())
        QTimer::singleShot(0, this, [this] {
            Notify(Q(vt::Translate("CRSCallList", CRSCallList::kSizeWarningText)),
                   QMessageBox::Information);
        });
}

bool CallListPage::SetButtonLook(int id, const QString& look) {
    const bool play =
        id == IDC_CL_PLAY && (look == "Play" || look == "Pause" || look == "Decoding");
    const bool output = id == IDC_CL_HEADSET && (look == "Speaker" || look == "Headset");
    if (!play && !output)
        return false;
    auto* button = static_cast<vt::widgets::SkinButton*>(controls_[id]);
    button->SetImages(looks_[look]);
    button->SetOn(look == "Pause" || look == "Headset");
    lookNames_[id] = look;
    return true;
}

QString CallListPage::ButtonLook(int id) const {
    auto it = lookNames_.find(id);
    return it == lookNames_.end() ? QString() : it->second;
}

QWidget* CallListPage::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CallListPage::Fill() {
    cachedRow_ = -1;
    const long count = records_->IsOpen() ? records_->GetRecordCount() : 0;
    grid_->SetRowCount(static_cast<int>(count));
    grid_->ClearCurrentCell();
    grid_->viewport()->update();
}

void CallListPage::Refill() {
    Fill();
    ShowMemo();
}

long CallListPage::PositionOfRow(int row) const {
    return records_->GetRecordCount() - row - 1;
}

bool CallListPage::SeekRow(int row) {
    if (!records_->IsOpen() || row < 0 || row >= records_->GetRecordCount())
        return false;
    return records_->SetAbsolutePosition(PositionOfRow(row)).ok();
}

std::optional<CallRecord> CallListPage::CallAtRow(int row) {
    OpenIfWaiting();
    if (!SeekRow(row))
        return std::nullopt;
    auto call = records_->CurrentCall();
    if (!call.ok())
        return std::nullopt;
    return call.value();
}

QString CallListPage::CellText(int row, int column) {
    OpenIfWaiting();
    if (row != cachedRow_) {
        auto call = CallAtRow(row);
        if (!call)
            return {};
        cached_ = *call;
        cachedRow_ = row;
    }
    const CallRecord& c = cached_;
    const vt::LocalTime& d = c.CallDate;
    switch (column) {
        case 0:
            return QStringLiteral("%1").arg(records_->GetRecordCount() - row, 6, 10, QChar('0'));
        case 1:
            return Q(vt::Translate(kCallKindContext, CallKindLabel(c.CallMode).c_str()));
        case 2:
            return Printf("%02d-%02d-%02d", d.year % 100, d.month, d.day);
        case 3:
            return Printf("%02d:%02d:%02d", d.hour, d.minute, d.second);
        case 4:
            return Q(c.CallName);
        case 5:
            return Q(c.CallNum);
        case 6:
            return Printf("%.2d:%.2d", static_cast<int>(c.CallTime / 60),
                          static_cast<int>(c.CallTime % 60));
        case 7:
            return c.CallRec ? QStringLiteral("O") : QStringLiteral("X");
        case 8:
            return Q(c.CallDtmf);
        case 9:
            return c.CallbInner ? QStringLiteral("O") : QStringLiteral("X");
        case 10:
            return Q(c.CallMemo);
        default:
            return {};
    }
}

void CallListPage::ShowMemo() {
    OpenIfWaiting();
    const auto call = CallAtRow(grid_->SelectedRow());
    owner_.SetMemoText(call ? Q(call->CallMemo) : QString());
    player_->Stop();
}

void CallListPage::ShowNewCalls() {
    OpenIfWaiting();
    if (!records_->IsOpen())
        return;
    const int row = grid_->SelectedRow();
    const long position = row >= 0 ? PositionOfRow(row) : -1;
    const std::optional<CallRecord> selected = CallAtRow(row);
    Check(records_->ReApply());
    // The selection moves down with its call; that is no row change. Where
    // the new call sorts before it (a search orders by date) the selection
    // is dropped instead, so a memo is never saved on the wrong call.
    const QSignalBlocker quiet(grid_);
    Fill();
    const long count = records_->GetRecordCount();
    if (selected && position < count) {
        const int moved = static_cast<int>(count - position - 1);
        const std::optional<CallRecord> there = CallAtRow(moved);
        if (there && SameCall(*there, *selected))
            grid_->SelectRow(moved);
    }
    emit NewCallsShown();
}

void CallListPage::SaveMemo(const QString& text) {
    OpenIfWaiting();
    if (!SeekRow(grid_->SelectedRow()))
        return;
    if (Check(records_->SaveMemo(text.toStdString()))) {
        cachedRow_ = -1;
        grid_->RefreshRows();
    }
}

bool CallListPage::Check(const storage::Status& status) {
    if (!status.ok())
        owner_.Inform(Q(status.message()));
    return status.ok();
}

int CallListPage::Ask(const QString& text, int buttons, int icon) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), QStringLiteral("Vantelo"), text,
                    static_cast<QMessageBox::StandardButtons>(buttons), this);
    return box.exec();
}

void CallListPage::Notify(const QString& text, int icon) {
    Ask(text, QMessageBox::Ok, icon);
}

void CallListPage::OnTab(int index) {
    Check(records_->SetKindFilter(index));
    Refill();
}

void CallListPage::OnTarget(int index) {
    if (index <= 0) {
        searchEdit_->clear();
        searchEdit_->setEnabled(false);
        Check(records_->SetSearch(0, ""));
        Refill();
        return;
    }
    searchEdit_->setEnabled(true);
}

void CallListPage::Search() {
    const int kind = target_->currentIndex();
    if (kind <= 0)
        return;
    QString text = searchEdit_->text();
    if (kind == 3 && !text.isEmpty()) {
        QString digits;
        for (QChar c : text)
            if (c >= QChar('0') && c <= QChar('9'))
                digits += c;
        if (digits.size() != 6) {
            Notify(tr(kDateText), QMessageBox::Information);
            return;
        }
        text = digits;
    }
    Check(records_->SetSearch(kind, text.toStdString()));
    Refill();
}

void CallListPage::Dial(long position) {
    if (!records_->IsOpen() || position < 0 || position >= records_->GetRecordCount() ||
        !records_->SetAbsolutePosition(position).ok())
        return;
    auto call = records_->CurrentCall();
    if (!call.ok() || call.value().CallNum.empty())
        return;
    PhoneActions& phone = owner_.Phone();
    if (phone.IsLineBusy())
        return;
    phone.SetDialNumber(call.value().CallNum);
    if (call.value().CallbInner)
        phone.DialInner();
    else
        phone.HookButton();
    phone.SetCallName(actions_.LookupName(call.value().CallNum));
}

void CallListPage::Block(int row) {
    const auto call = CallAtRow(row);
    if (!call)
        return;
    owner_.SetStatusText(BlockCaller(database_, call->CallNum));
}

void CallListPage::OnDoubleClick(int column, long position) {
    if (column == kNumberColumn) {
        Dial(position);
    } else if (column == kRecordingColumn) {
        if (!records_->IsOpen() || position < 0 || position >= records_->GetRecordCount() ||
            !records_->SetAbsolutePosition(position).ok())
            return;
        auto call = records_->CurrentCall();
        player_->Stop();
        player_->Start(call.ok() ? std::optional<CallRecord>(call.value()) : std::nullopt);
    }
}

void CallListPage::OnContextItem(int item, int row) {
    switch (item) {
        case IDM_CL_DELETE:
            DeleteSelected();
            break;
        case IDM_CL_BACKUP:
            BackupSelected();
            break;
        case IDM_CL_DIAL:
            Dial(PositionOfRow(row));
            break;
        case IDM_CL_EXPORT_CSV:
            ExportCsv();
            break;
        case IDM_CL_BLOCK:
            Block(row);
            break;
        default:
            break;
    }
}

void CallListPage::ReportDeletion(const storage::Result<CallDeletion>& done) {
    if (!Check(done.status()) || done.value().kept.empty())
        return;
    QString text = tr("녹음 파일을 지울 수 없어 이 통화 기록은 남겨 둡니다:");
    for (const std::string& file : done.value().kept) text += "\n" + Q(file);
    owner_.Inform(text);
}

void CallListPage::DeleteAt(long position) {
    if (records_->SetAbsolutePosition(position).ok())
        ReportDeletion(records_->DeleteCurrentCall());
    actions_.MessagesChanged();  // the call may have been a new message
}

void CallListPage::DeleteSelected() {
    const int row = grid_->SelectedRow();
    if (row < 0 || !records_->IsOpen())
        return;
    if (Ask(tr("선택된 데이터가 삭제됩니다.\n\n삭제하시겠습니까?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Information) != QMessageBox::Yes)
        return;
    DeleteAt(PositionOfRow(row));
    Fill();
}

bool CallListPage::DeleteEveryRecord() {
    const long total = records_->GetRecordCount();
    // A big log takes seconds: the window keeps painting between batches and
    // the user may stop, which leaves every call and recording in place.
    QProgressDialog progress(tr("통화 목록을 삭제하는 중입니다..."), tr("취소"), 0,
                             static_cast<int>(total), this);
    progress.setWindowTitle(QStringLiteral("Vantelo"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.show();  // at once: even one batch may be stopped
    actions_.HoldCallLog(true);
    const auto done =
        records_->DeleteAllCalls(actions_.ApplicationFolder(), [&progress](long n, long) {
            progress.setValue(static_cast<int>(n));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.close();
    actions_.HoldCallLog(false);
    const bool stopped = !done.ok() && done.status().code() == storage::ErrorCode::Cancelled;
    if (stopped)
        actions_.SetStatusText(
            tr("통화 목록 삭제를 취소했습니다. 지워진 것은 없습니다.").toStdString());
    else
        ReportDeletion(done);
    Fill();
    actions_.MessagesChanged();
    return done.ok();
}

void CallListPage::DeleteAll() {
    if (!records_->IsOpen() || records_->GetRecordCount() == 0) {
        Notify(tr(kEmptyText), QMessageBox::Critical);
        return;
    }
    if (Ask(tr("모든 통화목록이 삭제됩니다. \n\n 통화 목록을 삭제하시겠습니까?"),
            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning) != QMessageBox::Ok)
        return;
    repaint();
    // Only a deletion that happened is told as done.
    if (DeleteEveryRecord())
        Ask(tr("통화 목록이 삭제되었습니다."), QMessageBox::Ok, QMessageBox::NoIcon);
}

void CallListPage::ReportBackup(const CallLogBackup& backup) {
    if (backup.Failures().empty()) {
        Ask(tr(kBackupDoneText), QMessageBox::Ok, QMessageBox::NoIcon);
        return;
    }
    QString text = tr("백업 중 저장하지 못한 것이 있습니다:\n");
    for (const std::string& f : backup.Failures()) text += Q(f) + "\n";
    Notify(text, QMessageBox::Warning);
}

void CallListPage::BackupThenDelete(const QString& question,
                                    const std::function<void(CallLogBackup&)>& write,
                                    const std::function<void()>& erase) {
    const int answer = Ask(question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Information);
    if (answer != QMessageBox::Yes && answer != QMessageBox::No)
        return;
    const auto folder = chooseFolder_();
    if (!folder)
        return;
    CallLogBackup backup(*folder);
    write(backup);
    backup.Finish();
    // Calls are only deleted when everything reached the backup.
    if (answer == QMessageBox::Yes && backup.Failures().empty())
        erase();
    Fill();
    repaint();
    ReportBackup(backup);
}

void CallListPage::BackupAll() {
    if (!records_->IsOpen() || records_->GetRecordCount() == 0) {
        Notify(tr(kEmptyText), QMessageBox::Critical);
        return;
    }
    BackupThenDelete(
        tr("백업 후 통화 목록을 완전 삭제하시겠습니까?\n\n'예'를 "
           "선택할 경우 백업 후 통화 목록이 삭제됩니다."),
        [this](CallLogBackup& backup) {
            if (!backup.Begin())
                return;
            QApplication::setOverrideCursor(Qt::WaitCursor);
            backup.AddAll(*records_);
            QApplication::restoreOverrideCursor();
        },
        [this] { DeleteEveryRecord(); });
}

void CallListPage::BackupSelected() {
    const int row = grid_->SelectedRow();
    if (row < 0 || !records_->IsOpen()) {
        Ask(tr(kBackupDoneText), QMessageBox::Ok, QMessageBox::NoIcon);
        return;
    }
    BackupThenDelete(
        tr("백업 후 선택 통화 목록을 삭제하시겠습니까?\n\n'예'를 "
           "선택할 경우 백업 후 선택 통화 목록이 삭제됩니다."),
        [this, row](CallLogBackup& backup) {
            const long number = records_->GetRecordCount() - row;
            const auto call = CallAtRow(row);
            if (call && backup.Begin())
                backup.Add(static_cast<int>(number), *call);
        },
        [this, row] { DeleteAt(PositionOfRow(row)); });
}

void CallListPage::ExportCsv() {
    const auto file = chooseCsv_();
    if (!file)
        return;
    // The headings, then the rows as the grid shows them, one at a time: the
    // whole log may be listed.
    const int rows = grid_->RowCount();
    int next = -1;
    std::string error;
    const bool written = workbook::WorkbookWriter::WriteCsv(
        *file,
        [&](std::vector<std::string>& row) {
            if (next == rows)
                return false;
            row.clear();
            for (int c = 0; c < kColumnCount; ++c)
                row.push_back(next < 0 ? kColumns[c].heading : CellText(next, c).toStdString());
            ++next;
            return true;
        },
        error);
    if (!written)
        Notify(tr("CSV 파일을 쓸 수 없습니다: ") + Q(file->string()), QMessageBox::Warning);
    else
        owner_.Inform(tr("통화 목록 %1건을 CSV 파일로 내보냈습니다.").arg(rows));
}

void CallListPage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

void CallListPage::ShowPlayLook(PlayLook look, const QString& toolTip) {
    static const QString names[] = {QStringLiteral("Play"), QStringLiteral("Pause"),
                                    QStringLiteral("Decoding")};
    SetButtonLook(IDC_CL_PLAY, names[static_cast<int>(look)]);
    if (!toolTip.isEmpty())
        Control(IDC_CL_PLAY)->setToolTip(toolTip);
}

void CallListPage::ShowOutputLook(bool speaker, const QString& toolTip) {
    SetButtonLook(IDC_CL_HEADSET, speaker ? QStringLiteral("Speaker") : QStringLiteral("Headset"));
    if (!toolTip.isEmpty())
        Control(IDC_CL_HEADSET)->setToolTip(toolTip);
}

int CallListPage::SliderPosition() const {
    return slider_->value();
}

void CallListPage::SetSliderPosition(int position) {
    slider_->setValue(position);
}

void CallListPage::EnableSlider(bool enable) {
    slider_->setEnabled(enable);
}

void CallListPage::keyPressEvent(QKeyEvent* event) {
    if (IsDialCharacter(*event) || IsEnter(*event)) {
        owner_.Phone().OnKey(event->key(), event->modifiers(), event->text());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The search edit keeps its own characters and searches on Enter; the other
// controls hand dialling keys to the phone.
bool CallListPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == searchEdit_) {
            if (!IsEnter(*key))
                return false;
            Search();
            return true;
        }
        if (IsDialCharacter(*key) || IsEnter(*key)) {
            owner_.Phone().OnKey(key->key(), key->modifiers(), key->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantelo::pages
