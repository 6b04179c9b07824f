#pragma once
// The address-book server dialog, opened from the settings page: the
// [CardDav] settings (the address book's URL, the user, the password file
// and the minutes between syncs) and a button for a sync now. The password
// itself is never asked for here: it stays in the secret store or a 0600
// file. Settings the sync cannot use are said in one line and not saved.

#include <QDialog>
#include <filesystem>
#include <functional>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace vantelo::pages {

class CardDavDialog : public QDialog {
    Q_OBJECT
public:
    // `settingsFile` holds [CardDav]; `saved` runs after a save, `syncNow`
    // when a sync is asked for (either may be empty).
    CardDavDialog(std::filesystem::path settingsFile, std::function<void()> saved,
                  std::function<void()> syncNow, QWidget* parent = nullptr);

    QLineEdit& Url() const { return *url_; }
    QLineEdit& User() const { return *user_; }
    QLineEdit& PasswordFile() const { return *passwordFile_; }
    QSpinBox& Minutes() const { return *minutes_; }
    QString StatusText() const;

    // The fields into [CardDav] of the settings file; false (and why,
    // shown) when they cannot be used or written.
    bool Save();
    // Saves, then asks for a sync.
    void SyncNow();

private:
    void Load();

    std::filesystem::path file_;
    std::function<void()> saved_, syncNow_;
    QLineEdit* url_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* passwordFile_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace vantelo::pages
