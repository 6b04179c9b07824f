#pragma once
// The settings page: dialling prefixes, automatic recording, compression,
// the answering machine's options (with the shortest message kept and the
// silence that ends one) and the line timings. It is loaded from the phone's
// settings each time the window switches to it; edits stay in the controls
// until Ok copies them into the settings and saves them. Its block list
// button opens the editor of the screening rules, which are in the database
// and stored as they are edited; its address-book button opens the settings
// of the address-book server ([CardDav]). The language box stores `Language`,
// which the programs read when they start.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>

#include "BlockListDialog.h"
#include "CardDavDialog.h"
#include "PageOwner.h"
#include "vantelo/core/PhoneSettings.h"
#include "widgets/SkinImages.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QSpinBox;

namespace vantelo::pages {

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    // One timing slider: its control, value label, caption, range, tick
    // spacing, default and the setting it edits.
    struct Slider {
        int id;
        int valueLabel;
        int caption;
        int minimum, maximum, tick, defaultValue;
        int PhoneSettings::*setting;
        const char* text;
    };
    static const Slider kSliders[7];

    SettingsPage(PageOwner& owner, const vt::widgets::SkinImages& skin, QWidget* parent = nullptr);

    QWidget* Control(int id) const;
    bool Initialised() const { return initialised_; }

    // Puts every setting into its control and writes the value labels.
    void Load(const PhoneSettings& settings);
    // Ok: the controls into the phone's settings, then saved.
    void Ok();
    // Sets the sliders (only) to their defaults.
    void DefaultLoad();
    // The greeting file dialog; the chosen path goes into the greeting edit.
    void ChooseGreeting();
    // Who picks the greeting file (the full path, empty when cancelled);
    // the sound file dialog unless replaced.
    void SetGreetingChooser(std::function<QString()> chooser) {
        chooseGreeting_ = std::move(chooser);
    }

    // The database whose block list the editor shows.
    void UseDatabase(const std::filesystem::path& database) { database_ = database; }
    // Opens the block list editor (or brings the open one forward).
    void OpenBlockList();
    // The open editor; nullptr when closed.
    BlockListDialog* BlockList() const { return blockList_; }

    // What the address-book server dialog calls after a save and for a sync.
    void UseAddressBook(std::function<void()> saved, std::function<void()> syncNow) {
        addressBookSaved_ = std::move(saved);
        syncAddressBook_ = std::move(syncNow);
    }
    // Opens the address-book server dialog (or brings the open one forward).
    void OpenAddressBook();
    CardDavDialog* AddressBook() const { return addressBook_; }

    // Ranges of the two message settings, in seconds (silence 0: off).
    static constexpr int kMinMessageRange[2] = {0, 9};
    static constexpr int kSilenceRange[2] = {0, 30};

    // The maximum message length as stored: below 10 becomes 10, above 100
    // becomes 99 (100 itself stays); text that is no number counts as 0.
    static int MaxMessageFromText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build(const vt::widgets::SkinImages& skin);
    void WriteValueLabel(const Slider& s);
    QCheckBox* Check(int id) const;
    QLineEdit* Edit(int id) const;
    QSlider* SliderControl(int id) const;
    QSpinBox* Seconds(int id) const;

    PageOwner& owner_;
    QImage background_;
    std::map<int, QWidget*> controls_;
    QComboBox* compress_ = nullptr;
    QComboBox* language_ = nullptr;
    QPlainTextEdit* greeting_ = nullptr;
    bool initialised_ = false;
    std::function<QString()> chooseGreeting_;
    std::filesystem::path database_;
    QPointer<BlockListDialog> blockList_;
    std::function<void()> addressBookSaved_, syncAddressBook_;
    QPointer<CardDavDialog> addressBook_;
};

}  // namespace vantelo::pages
