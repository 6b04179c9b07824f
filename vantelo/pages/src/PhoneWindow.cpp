#include "PhoneWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>

#include "AboutBox.h"
#include "AccessibleNames.h"
#include "AddressBookPage.h"
#include "CaptionAnimation.h"
#include "ContactEditPage.h"
#include "InnerLinePage.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "RingPopup.h"
#include "SettingsPage.h"
#include "platform/TranslateNoop.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/AccessibleRole.h"
#include "widgets/QtText.h"
#include "widgets/SkinButton.h"
#include "widgets/WindowDrag.h"
#include "widgets/WindowMessageEvent.h"

namespace vantelo::pages {

using vt::widgets::SkinButton;

namespace {

constexpr int kPageButtons[] = {IDC_PAGE_ADDRESSBOOK, IDC_PAGE_INNERLINE, IDC_PAGE_CALLLOG,
                                IDC_PAGE_SETTINGS};
constexpr int kPageTemplates[] = {IDD_ADDRESSBOOK, IDD_INNERLINE, IDD_CALLLOG, IDD_SETTINGS};

// The two looks of a button: the lit one (the state is on) and the plain
// one, each with the tool tip that says what a press does then.
struct TwoLook {
    int id;
    const char* lit;
    const char* litTip;
    const char* plain;
    const char* plainTip;
};

constexpr TwoLook kLooks[] = {
    {IDC_HOOK, "HookOff", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "Hook On"), "HookOn",
     QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "Hook Off")},
    {IDC_PLAY, "Play", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "재생 멈춤"), "Stop",
     QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "재생 시작")},
    {IDC_RECORD, "Record", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "녹취 멈춤"), "Stop",
     QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "녹취 시작")},
    {IDC_MUTE, "MuteOn", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "Mute 해제"), "MuteOff",
     QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "Mute 설정")},
    {IDC_ARS, "AbsenceOn", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "부재중 설정 해제"),
     "AbsenceOff", QT_TRANSLATE_NOOP("vantelo::pages::PhoneWindow", "부재중 설정")},
};

constexpr int kStartIndicators[][2] = {{IDC_PIC_HOOK, IDB_HOOK_ON},
                                       {IDC_PIC_ANSWERING, IDB_ANSWERING_OFF},
                                       {IDC_PIC_RECORDING, IDB_RECORDING_OFF},
                                       {IDC_PIC_PLAYBACK, IDB_PLAYBACK_OFF}};

QRect WorkArea(const QWidget* w) {
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

PhoneWindow::PhoneWindow(PhoneActions& phone, const Setup& setup, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowSystemMenuHint),
      phone_(phone),
      popupTimers_(setup.popupTimers),
      messages_(this),
      host_(PhoneLayout::kPageArea) {
    // A frameless window is still the program's window to a screen reader.
    vt::widgets::SetAccessibleRole(*this, QAccessible::Window);
    PhoneSkin::PaintAll(skin_);
    setWindowTitle(QStringLiteral("Vantelo"));
    setWindowIcon(QIcon(QPixmap::fromImage(skin_.Image(IDI_PROGRAM))));
    setFixedSize(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight);
    move(StartGeometry(WorkArea(this)).topLeft());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMask(vt::widgets::SkinImages::RegionFromShape(skin_.Image(IDB_SHAPE)));
    setFocusPolicy(Qt::StrongFocus);
    // A press anywhere that is not a control drags the window.
    new vt::widgets::WindowDrag(*this);
    BuildControls();

    addressBook_ = new AddressBookPage(*this, skin_, this);
    innerLine_ = new InnerLinePage(*this, skin_, this);
    contactEdit_ = new ContactEditPage(*this, skin_, this);
    settings_ = new SettingsPage(*this, skin_, this);
    // Every switch to the settings page shows the settings in use.
    connect(this, &PhoneWindow::SettingsPageOpening, settings_,
            [this] { settings_->Load(phone_.Settings()); });
    host_.SetListener([this](int id, bool shown) { OnPageChange(id, shown); });
    host_.Add(IDD_ADDRESSBOOK, addressBook_);
    host_.Add(IDD_INNERLINE, innerLine_);
    host_.Add(IDD_CONTACTEDIT, contactEdit_);
    host_.Add(IDD_SETTINGS, settings_);
    addressBook_->Open(setup.database);
    innerLine_->Open(setup.database);
    settings_->UseDatabase(setup.database);
    settings_->UseAddressBook(setup.addressBookSaved, setup.syncAddressBook);
    if (!addressBook_->OpenError().empty())
        SetStatusText(vt::widgets::Q(addressBook_->OpenError()));

    BuildSystemMenu();
    BuildTray(setup.tray);
    SwitchPage(0);
    // Keys typed once the window is up go to the phone (digits dial, Enter
    // answers), not to the first control in the Tab order.
    setFocus(Qt::OtherFocusReason);
}

QRect PhoneWindow::StartGeometry(const QRect& workArea) {
    const QSize size(PhoneLayout::kWindowWidth, PhoneLayout::kWindowHeight);
    // Centred on each axis, then moved back until its right or bottom edge
    // is on the area, and at last until its left or top edge is.
    auto place = [](int start, int length, int window) {
        const int centred = start + (length - window) / 2;
        return std::max(start, std::min(centred, start + length - window));
    };
    return {QPoint(place(workArea.x(), workArea.width(), size.width()),
                   place(workArea.y(), workArea.height(), size.height())),
            size};
}

PhoneWindow::~PhoneWindow() {
    messages_.Close();
    delete popup_;
    if (trayIcon_)
        trayIcon_->hide();
}

void PhoneWindow::BuildControls() {
    const auto plain = PhoneSkin::Triple(skin_, IDB_MAIN_NORMAL, IDB_MAIN_PRESSED, IDB_MAIN_HOVER);
    for (const Place& p : PhoneLayout::MainButtons()) {
        SkinButton* b = PhoneSkin::Button(this, p, plain);
        controls_[p.id] = b;
        const int id = p.id;
        connect(b, &QAbstractButton::clicked, this, [this, id] {
            for (int i = 0; i < 4; ++i)
                if (kPageButtons[i] == id)
                    return SwitchPage(i);
            if (id == IDC_MINIMISE)
                return showMinimized();
            if (id == IDC_HIDE)
                return HideToTray();
            phone_.OnButton(id);
        });
    }
    for (const TwoLook& l : kLooks) {
        looks_[l.id] = QString::fromUtf8(l.plain);
        static_cast<SkinButton*>(controls_[l.id])->SetKind(SkinButton::Kind::Toggle);
    }
    BuildKeys();

    const auto area = [](int id) { return PhoneLayout::RectOf(PhoneLayout::MainAreas(), id); };
    number_ = new QLabel(this);
    number_->setGeometry(area(IDC_NUMBER).adjusted(4, 2, -4, -2));
    number_->setAlignment(Qt::AlignCenter);
    number_->setWordWrap(true);
    QFont lcd(QStringLiteral("NanumGothicCoding"));
    lcd.setFamilies({QStringLiteral("NanumGothicCoding"), QStringLiteral("NanumGothic")});
    lcd.setPixelSize(17);
    lcd.setBold(true);
    number_->setFont(lcd);
    number_->setStyleSheet(QStringLiteral("color: rgb(16, 52, 50);"));
    controls_[IDC_NUMBER] = number_;

    status_ = new QLabel(this);
    status_->setGeometry(area(IDC_STATUS));
    status_->setFont(PhoneSkin::LabelFont(12, true));
    status_->setStyleSheet(QStringLiteral("color: rgb(150, 230, 220);"));
    controls_[IDC_STATUS] = status_;

    memo_ = new QPlainTextEdit(this);
    memo_->setGeometry(area(IDC_MEMO));
    memo_->setFont(PhoneSkin::LabelFont(12));
    memo_->setFrameShape(QFrame::NoFrame);
    controls_[IDC_MEMO] = memo_;

    for (const auto& [id, bitmap] : kStartIndicators) {
        auto* picture = new QLabel(this);
        picture->setGeometry(area(id));
        controls_[id] = picture;
        SetIndicator(id, bitmap);
    }

    messageBadge_ = new QLabel(this);
    messageBadge_->setObjectName(QStringLiteral("messageBadge"));
    messageBadge_->setGeometry(PhoneLayout::kMessageBadge);
    messageBadge_->setAlignment(Qt::AlignCenter);
    messageBadge_->setFont(PhoneSkin::LabelFont(10, true));
    messageBadge_->setStyleSheet(
        QStringLiteral("color: white; background: rgb(200, 40, 40); border-radius: 7px;"));
    messageBadge_->hide();
    number_->setAccessibleDescription(AccessibleNames::NumberDisplay());
    status_->setAccessibleDescription(AccessibleNames::StatusLine());
    AccessibleNames::Apply(AccessibleNames::MainWindow(), [this](int id) { return Control(id); });
}

// F5 answers and hangs up (the hook button), Ctrl+Tab and Ctrl+Shift+Tab
// step through the pages, wherever the focus is in the window.
void PhoneWindow::BuildKeys() {
    auto* hook = static_cast<SkinButton*>(controls_[IDC_HOOK]);
    hook->setShortcut(QKeySequence(Qt::Key_F5));
    hook->SetKeyHint(AccessibleNames::HookKey());
    for (int id : kPageButtons) {
        auto* page = static_cast<SkinButton*>(controls_[id]);
        page->SetKind(SkinButton::Kind::PageTab);
        page->SetKeyHint(AccessibleNames::PageKeys());
    }
    const auto step = [this](int by) { SwitchPage(((pageIndex_ < 0 ? 0 : pageIndex_) + by) & 3); };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
            [step] { step(1); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this),
            &QShortcut::activated, this, [step] { step(3); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Backtab), this), &QShortcut::activated,
            this, [step] { step(3); });
}

void PhoneWindow::BuildSystemMenu() {
    systemMenu_ = new QMenu(this);
    connect(systemMenu_->addAction(tr("Vantelo 정보(&A)...")), &QAction::triggered, this,
            &PhoneWindow::ShowAbout);
}

void PhoneWindow::BuildTray(std::optional<bool> tray) {
    const bool available = tray.value_or(QSystemTrayIcon::isSystemTrayAvailable());
    if (!available) {
        // No tray: the exit command lives in the window's own menu.
        systemMenu_->addSeparator();
        connect(systemMenu_->addAction(tr("Close")), &QAction::triggered, this,
                [this] { phone_.OnExitCommand(); });
        return;
    }
    trayMenu_ = new QMenu(QStringLiteral("TrayMenu"), this);
    QAction* open = trayMenu_->addAction(tr("Open"));
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    trayMenu_->setDefaultAction(open);
    QAction* close = trayMenu_->addAction(tr("Close"));
    connect(open, &QAction::triggered, this, &PhoneWindow::ShowFromTray);
    connect(close, &QAction::triggered, this, [this] { phone_.OnExitCommand(); });
    trayIcon_ = new QSystemTrayIcon(windowIcon(), this);
    trayIcon_->setToolTip(QStringLiteral("Vantelo"));
    trayIcon_->setContextMenu(trayMenu_);
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    trayMenu_->defaultAction()->trigger();
            });
    trayIcon_->show();
}

QWidget* PhoneWindow::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

// Pages ----------------------------------------------------------------------

void PhoneWindow::InstallPage(int templateId, QWidget* page, PageHooks hooks) {
    page->setParent(this);
    host_.Add(templateId, page);
    hooks_[templateId] = std::move(hooks);
}

void PhoneWindow::SwitchPage(int index) {
    if (index < 0 || index > 3 || index == pageIndex_)
        return;
    const auto selected = PhoneSkin::Triple(skin_, IDB_PAGE_SELECTED_NORMAL,
                                            IDB_PAGE_SELECTED_PRESSED, IDB_PAGE_SELECTED_HOVER);
    const auto plain = PhoneSkin::Triple(skin_, IDB_MAIN_NORMAL, IDB_MAIN_PRESSED, IDB_MAIN_HOVER);
    for (int i = 0; i < 4; ++i) {
        auto* button = static_cast<SkinButton*>(controls_[kPageButtons[i]]);
        button->SetImages(i == index ? selected : plain);
        button->SetOn(i == index);
    }
    pageIndex_ = index;
    if (index == 3)
        emit SettingsPageOpening();
    host_.Show(kPageTemplates[index]);
    repaint(PhoneLayout::kPageButtonStrip);
}

void PhoneWindow::ShowPage(int templateId) {
    for (int i = 0; i < 4; ++i)
        if (kPageTemplates[i] == templateId)
            return SwitchPage(i);
    // A page without a button (the contact edit page): no page button is
    // the shown one, so any page button leads away from it.
    if (host_.Show(templateId))
        pageIndex_ = -1;
}

void PhoneWindow::OnPageChange(int templateId, bool shown) {
    if (!shown) {
        lastHidden_ = templateId;
        return;
    }
    if (ContactPage* page = ContactPageOf(templateId))
        return page->ShowDetails();
    auto it = hooks_.find(templateId);
    if (it != hooks_.end() && it->second.refresh)
        return it->second.refresh();
    SetMemoText(QString());
}

ContactPage* PhoneWindow::ContactPageOf(int templateId) const {
    if (templateId == IDD_ADDRESSBOOK)
        return addressBook_;
    if (templateId == IDD_INNERLINE)
        return innerLine_;
    return nullptr;
}

void PhoneWindow::CallerIdentified(const std::string& /*number*/, const CallerName& caller) {
    if (caller.name.empty() || !phone_.IsRinging())
        return;
    ContactPage* page = caller.innerLine ? static_cast<ContactPage*>(innerLine_) : addressBook_;
    // Just after the number display has painted the name (the phone shows
    // it when this returns): re-reading a large page takes longer than a
    // caller waits.
    QTimer::singleShot(0, this, [this, page, bookNumber = caller.bookNumber] {
        number_->repaint();
        page->ShowCaller(bookNumber);
    });
}

void PhoneWindow::SaveMemoOnShownPage(const QString& text) {
    const int shown = host_.Shown();
    if (ContactPage* page = ContactPageOf(shown))
        return page->SaveMemo(text);
    auto it = hooks_.find(shown);
    if (it != hooks_.end() && it->second.saveMemo)
        it->second.saveMemo(text);
}

void PhoneWindow::BeginContactEdit(bool modify, const ContactRecord& record,
                                   const QStringList& groups) {
    modifying_ = modify;
    if (modify)
        contactEdit_->PrepareForModify(record, groups);
    else
        contactEdit_->PrepareForAdd(groups);
    ShowPage(IDD_CONTACTEDIT);
}

void PhoneWindow::FinishContactEdit(const ContactRecord& record) {
    const int opener = lastHidden_;
    if (ContactPage* page = ContactPageOf(opener)) {
        if (modifying_)
            page->ModifyEntry(record);
        else
            page->AddEntry(record);
    }
    ShowPage(opener);
}

void PhoneWindow::CancelContactEdit() {
    ShowPage(lastHidden_);
}

// What the phone shows ---------------------------------------------------------

void PhoneWindow::SetStatusText(const QString& text) {
    status_->setText(text);
}

QString PhoneWindow::StatusText() const {
    return status_->text();
}

void PhoneWindow::SetNumberText(const QString& text) {
    number_->setText(text);
}

QString PhoneWindow::NumberText() const {
    return number_->text();
}

void PhoneWindow::SetMemoText(const QString& text) {
    memo_->setPlainText(text);
}

QString PhoneWindow::MemoText() const {
    return memo_->toPlainText();
}

void PhoneWindow::SetIndicator(int controlId, int bitmapId) {
    auto* picture = qobject_cast<QLabel*>(Control(controlId));
    if (!picture || !skin_.Has(bitmapId))
        return;
    picture->setPixmap(QPixmap::fromImage(skin_.Image(bitmapId)));
    picture->setAccessibleName(AccessibleNames::Indicator(bitmapId));
    indicators_[controlId] = bitmapId;
}

QString PhoneWindow::TrayToolTip(int newMessages) {
    if (newMessages <= 0)
        return QStringLiteral("Vantelo");
    return tr("Vantelo\n새 메시지 %1").arg(newMessages);
}

void PhoneWindow::SetNewMessageCount(int count) {
    newMessages_ = count;
    // Three digits would crowd the indicator; the tool tips give the number.
    const QString text = count > 99 ? QStringLiteral("99+") : QString::number(count);
    messageBadge_->setText(text);
    // Wider for a longer text, its right edge kept on the indicator's corner.
    QRect place = PhoneLayout::kMessageBadge;
    place.setLeft(
        place.right() + 1 -
        std::max(place.width(), messageBadge_->fontMetrics().horizontalAdvance(text) + 8));
    messageBadge_->setGeometry(place);
    messageBadge_->setToolTip(tr("새 메시지 %1").arg(count));
    // A screen reader reads the whole count, not the badge's "99+".
    messageBadge_->setAccessibleName(messageBadge_->toolTip());
    messageBadge_->setVisible(count > 0);
    messageBadge_->raise();
    if (trayIcon_)
        trayIcon_->setToolTip(TrayToolTip(count));
}

int PhoneWindow::Indicator(int controlId) const {
    auto it = indicators_.find(controlId);
    return it == indicators_.end() ? 0 : it->second;
}

bool PhoneWindow::SetButtonLook(int controlId, const QString& look) {
    for (const TwoLook& l : kLooks) {
        if (l.id != controlId)
            continue;
        const bool lit = look == QString::fromUtf8(l.lit);
        if (!lit && look != QString::fromUtf8(l.plain))
            return false;
        auto* button = static_cast<SkinButton*>(controls_[controlId]);
        button->SetImages(
            lit ? PhoneSkin::Triple(skin_, IDB_MAIN_LIT_NORMAL, IDB_MAIN_LIT_PRESSED,
                                    IDB_MAIN_LIT_HOVER)
                : PhoneSkin::Triple(skin_, IDB_MAIN_NORMAL, IDB_MAIN_PRESSED, IDB_MAIN_HOVER));
        button->setToolTip(tr(lit ? l.litTip : l.plainTip));
        button->SetOn(lit);
        looks_[controlId] = look;
        return true;
    }
    return false;
}

QString PhoneWindow::ButtonLook(int controlId) const {
    auto it = looks_.find(controlId);
    return it == looks_.end() ? QString() : it->second;
}

void PhoneWindow::ShowRingPopup(const QString& text) {
    if (popup_ && !popup_->Closing()) {
        popup_->SetText(text);
        return;
    }
    // One pop-up at a time: one still shrinking away goes at once.
    delete popup_;
    popup_ = new RingPopup(&messages_, popupTimers_);
    // Gone once it has shrunk; deleted from the event loop, not from inside
    // its own timer.
    connect(popup_, &RingPopup::Closed, this,
            [this, gone = popup_] { QTimer::singleShot(0, this, [gone] { delete gone.data(); }); });
    popup_->Open(text);
}

void PhoneWindow::SetRingPopupText(const QString& text) {
    if (popup_ && !popup_->Closing())
        popup_->SetText(text);
}

void PhoneWindow::CloseRingPopup() {
    if (popup_)
        popup_->Close();
}

// Tray -------------------------------------------------------------------------

QRect PhoneWindow::TrayTarget(const QRect& workArea) {
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    // Left = right - 150, top = bottom + 10, right = right - 100, bottom =
    // bottom: a strip just below the corner, its top below its bottom.
    return QRect(QPoint(right - 150, bottom + 10), QPoint(right - 100 - 1, bottom - 1));
}

void PhoneWindow::HideToTray() {
    if (!trayIcon_) {
        showMinimized();
        return;
    }
    if (isHidden())
        return;
    const QRect from = frameGeometry();
    hide();
    ++animations_;
    CaptionAnimation::Start(from, TrayTarget(WorkArea(this)), true);
}

void PhoneWindow::ShowFromTray() {
    if (!isHidden()) {
        if (isMinimized())
            showNormal();
        activateWindow();
        return;
    }
    ++animations_;
    auto* flight = CaptionAnimation::Start(TrayTarget(WorkArea(this)), frameGeometry(), false);
    connect(flight, &CaptionAnimation::Finished, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
}

void PhoneWindow::ShowAbout() {
    AboutBox box(QPixmap::fromImage(skin_.Image(IDI_PROGRAM)), this);
    box.exec();
}

void PhoneWindow::CloseForExit() {
    exiting_ = true;
    if (trayIcon_)
        trayIcon_->hide();
    close();
}

bool PhoneWindow::AskYesNo(const QString& text) {
    return QMessageBox::information(this, QStringLiteral("Vantelo"), text,
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool PhoneWindow::AskOkCancel(const QString& text) {
    return QMessageBox::information(this, QStringLiteral("Vantelo"), text,
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void PhoneWindow::Inform(const QString& text) {
    QMessageBox::information(this, QStringLiteral("Vantelo"), text);
}

// Events -----------------------------------------------------------------------

bool PhoneWindow::event(QEvent* e) {
    if (e->type() == vt::widgets::WindowMessageEvent::EventType()) {
        auto* m = static_cast<vt::widgets::WindowMessageEvent*>(e);
        phone_.OnMessage(m->message, m->wParam, m->lParam);
        return true;
    }
    return QWidget::event(e);
}

void PhoneWindow::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    painter.drawImage(e->rect(), skin_.Image(IDB_MAIN_NORMAL), e->rect());
}

// The background is the caption: the right button opens the window's menu
// (the left one drags it).
void PhoneWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        systemMenu_->popup(e->globalPosition().toPoint());
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

void PhoneWindow::keyPressEvent(QKeyEvent* e) {
    e->accept();
    if (e->key() == Qt::Key_Escape)
        return HideToTray();
    phone_.OnKey(e->key(), e->modifiers(), e->text());
}

// The close box hides to the tray; the program ends by the tray's Close.
void PhoneWindow::closeEvent(QCloseEvent* e) {
    if (exiting_) {
        CloseRingPopup();
        e->accept();
        return;
    }
    e->ignore();
    HideToTray();
}

}  // namespace vantelo::pages
