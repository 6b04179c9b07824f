#pragma once
// The converter's window: direction and mode options, the workbook choice,
// the sheet list, the row range, the sixteen column lists, convert and
// close, and the three status lines, wired to ConverterController. It is
// the controller's view; the dialogs are virtual so tests can answer them.

#include <QWidget>
#include <map>
#include <memory>

#include "vanconv/ConverterController.h"
#include "vanconv/ConverterView.h"

class QButtonGroup;

namespace vanconv {

class formTYPlus : public QWidget, public ConverterView {
    Q_OBJECT
public:
    explicit formTYPlus(
        MainProgram& program,
        ConverterController::InstallFinder findInstall = [] { return FindVanteloInstall(); },
        QWidget* parent = nullptr);
    ~formTYPlus() override;

    ConverterController& Controller() { return *controller_; }
    QWidget* Control(Ctl id) const;

    // ConverterView
    void SetText(Ctl id, const std::string& text) override;
    std::string Text(Ctl id) const override;
    void Enable(Ctl id, bool enabled) override;
    bool Enabled(Ctl id) const override;
    void SetChecked(Ctl id, bool checked) override;
    bool Checked(Ctl id) const override;
    void SetItems(Ctl id, const std::vector<std::string>& items) override;
    std::vector<std::string> Items(Ctl id) const override;
    void Select(Ctl id, int index) override;
    int Selected(Ctl id) const override;
    std::string ChooseOpenFile() override;
    std::string ChooseSaveFile(const std::string& title) override;
    void Inform(const std::string& text) override;
    bool Confirm(const std::string& text, const std::string& title) override;
    void SetBusy(bool busy) override;
    void KeepAlive() override;
    void Quit() override;

private:
    void BuildControls();

    std::map<Ctl, QWidget*> controls_;
    std::unique_ptr<ConverterController> controller_;
};

}  // namespace vanconv
