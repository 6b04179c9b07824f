#pragma once
// The phone's main window: frameless, shaped from its skin, dragged by its
// background. It holds the skinned phone buttons, the number display, the
// status line, the memo box and the four indicators, hosts the five pages
// (created once, one shown at a time), hides to the tray and comes back,
// and shows the ring pop-up. It keeps no phone state: buttons, keys and
// posted messages go to PhoneActions, and the phone tells the window what
// to show through the plain methods below.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "PageHost.h"
#include "PageOwner.h"
#include "RingPopup.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/pages/WindowSetup.h"
#include "widgets/QtMessageWindow.h"
#include "widgets/SkinImages.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QSystemTrayIcon;

namespace vt {
class TimerHost;
}
namespace vt::widgets {
class SkinButton;
}

namespace vantelo::pages {

class AddressBookPage;
class ContactEditPage;
class ContactPage;
class InnerLinePage;
class SettingsPage;

class PhoneWindow : public QWidget, public PageOwner {
    Q_OBJECT
public:
    using Setup = WindowSetup;
    // Extra work of a page installed from outside (the call log and settings
    // pages): refresh when shown, take the memo box's text.
    struct PageHooks {
        std::function<void()> refresh;
        std::function<void(const QString&)> saveMemo;
    };

    PhoneWindow(PhoneActions& phone, const Setup& setup, QWidget* parent = nullptr);
    ~PhoneWindow() override;

    // Where the window opens: centred on the work area of its screen; on a
    // screen too small for it, its top left corner (caption and page
    // buttons) stays on the screen.
    static QRect StartGeometry(const QRect& workArea);

    vt::MessageWindow& MessageWindow() { return messages_; }
    const vt::widgets::SkinImages& Skin() const { return skin_; }
    QWidget* Control(int id) const;
    AddressBookPage& AddressBook() { return *addressBook_; }
    InnerLinePage& InnerLine() { return *innerLine_; }
    ContactEditPage& ContactEdit() { return *contactEdit_; }
    SettingsPage& Settings() { return *settings_; }

    // Pages ----------------------------------------------------------------
    // The call log page, made outside (the settings page is the window's own).
    void InstallPage(int templateId, QWidget* page, PageHooks hooks = {});
    // Page buttons 0..3: address book, inner line, call log, settings.
    void SwitchPage(int index);
    int ShownPage() const { return host_.Shown(); }
    int LastHiddenPage() const { return lastHidden_; }
    // The phone named a caller: while it rings, the page that holds the
    // caller shows the entry too.
    void CallerIdentified(const std::string& number, const CallerName& caller);
    // The memo box's text goes to the page shown.
    void SaveMemoOnShownPage(const QString& text);

    // What the phone shows ---------------------------------------------------
    void SetStatusText(const QString& text) override;
    QString StatusText() const;
    void SetNumberText(const QString& text);
    QString NumberText() const;
    void SetMemoText(const QString& text) override;
    QString MemoText() const;
    // An indicator picture (1171-1174) shows the bitmap of an id.
    void SetIndicator(int controlId, int bitmapId);
    int Indicator(int controlId) const;
    // The count of new messages beside the answering-machine indicator and
    // in the tray's tool tip; the badge is hidden at 0.
    void SetNewMessageCount(int count);
    int NewMessageCount() const { return newMessages_; }
    QLabel* MessageBadge() const { return messageBadge_; }
    // The tray's tool tip for a count of new messages.
    static QString TrayToolTip(int newMessages);
    // A two-look button (Hook, Play, Record, Mute, ARS) by its state name
    // ("HookOff"/"HookOn", "Play"/"Stop", "Record"/"Stop", "MuteOn"/"MuteOff",
    // "AbsenceOn"/"AbsenceOff"); false for a name the button does not have.
    bool SetButtonLook(int controlId, const QString& look);
    QString ButtonLook(int controlId) const;

    void ShowRingPopup(const QString& text);
    void SetRingPopupText(const QString& text);
    void CloseRingPopup();
    // The pop-up while it is up (growing, shown or shrinking); null otherwise.
    RingPopup* Popup() const { return popup_; }

    // Tray ------------------------------------------------------------------
    bool HasTray() const { return trayIcon_ != nullptr; }
    QSystemTrayIcon* TrayIcon() const { return trayIcon_; }
    QMenu* TrayMenu() const { return trayMenu_; }
    // Without a tray both minimise instead.
    void HideToTray();
    void ShowFromTray();
    int AnimationsDrawn() const { return animations_; }
    // The corner strip the window flies to (below the work area's corner).
    static QRect TrayTarget(const QRect& workArea);
    // The window's own menu: about box (and Close without a tray).
    QMenu* SystemMenu() const { return systemMenu_; }
    void ShowAbout();
    // Closes the window for good (the end of the exit sequence); the close
    // box and Escape only hide it.
    void CloseForExit();

    // PageOwner
    PhoneActions& Phone() override { return phone_; }
    void ShowPage(int templateId) override;
    bool AskYesNo(const QString& text) override;
    // An OK/Cancel question titled "Vantelo"; true for OK.
    bool AskOkCancel(const QString& text);
    void Inform(const QString& text) override;
    void BeginContactEdit(bool modify, const ContactRecord& record,
                          const QStringList& groups) override;
    void FinishContactEdit(const ContactRecord& record) override;
    void CancelContactEdit() override;

signals:
    // The settings page is about to be shown (it loads the stored settings).
    void SettingsPageOpening();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildKeys();
    void BuildTray(std::optional<bool> tray);
    void BuildSystemMenu();
    void OnPageChange(int templateId, bool shown);
    ContactPage* ContactPageOf(int templateId) const;

    PhoneActions& phone_;
    vt::TimerHost* popupTimers_;
    vt::widgets::SkinImages skin_;
    vt::widgets::QtMessageWindow messages_;
    std::map<int, QWidget*> controls_;
    std::map<int, int> indicators_;
    std::map<int, QString> looks_;
    QLabel* number_ = nullptr;
    QLabel* status_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QLabel* messageBadge_ = nullptr;
    int newMessages_ = 0;
    PageHost host_;
    std::map<int, PageHooks> hooks_;
    AddressBookPage* addressBook_ = nullptr;
    InnerLinePage* innerLine_ = nullptr;
    ContactEditPage* contactEdit_ = nullptr;
    SettingsPage* settings_ = nullptr;
    int pageIndex_ = -1;
    int lastHidden_ = -1;
    bool modifying_ = false;
    QPointer<RingPopup> popup_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    int animations_ = 0;
    bool exiting_ = false;
};

}  // namespace vantelo::pages
