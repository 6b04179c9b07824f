#pragma once
// What the converter's logic asks of its window (formTYPlus): texts,
// enabled states, option buttons, the sheet and column lists, and the
// dialogs. The window implements it with widgets; the logic never paints.

#include <string>
#include <vector>

namespace vanconv {

// The window's controls. The sixteen column lists follow kConvertFields.
enum class Ctl {
    OptToMdb0,  // "Excel File -> Vantelo"
    OptToMdb1,  // "Vantelo -> Excel File"
    FrmAppend,
    OptAppend0,
    OptAppend1,
    CmdFileOpen,
    LblFilePath,
    FrmWorksheet,
    CboSheet,
    FrmDataLine,
    EdtStartRow,
    EdtEndRow,
    FrmData,
    CboField0,  // cboName; CboField0 + k for field k
    CmdTrans = CboField0 + 16,
    CmdExit,
    LblState,
    LblState1,
    LblTransState,
};

inline Ctl FieldList(int field) {
    return static_cast<Ctl>(static_cast<int>(Ctl::CboField0) + field);
}

class ConverterView {
public:
    virtual ~ConverterView() = default;

    // Labels, captions and text boxes (UTF-8).
    virtual void SetText(Ctl id, const std::string& text) = 0;
    virtual std::string Text(Ctl id) const = 0;
    virtual void Enable(Ctl id, bool enabled) = 0;
    virtual bool Enabled(Ctl id) const = 0;
    // Option buttons.
    virtual void SetChecked(Ctl id, bool checked) = 0;
    virtual bool Checked(Ctl id) const = 0;

    // List boxes: the entries, and the selected index (-1 for none).
    virtual void SetItems(Ctl id, const std::vector<std::string>& items) = 0;
    virtual std::vector<std::string> Items(Ctl id) const = 0;
    virtual void Select(Ctl id, int index) = 0;
    virtual int Selected(Ctl id) const = 0;

    // Dialogs. An empty path when the user chose nothing.
    virtual std::string ChooseOpenFile() = 0;
    virtual std::string ChooseSaveFile(const std::string& title) = 0;
    virtual void Inform(const std::string& text) = 0;
    // OK (true) or Cancel, with an information icon.
    virtual bool Confirm(const std::string& text, const std::string& title) = 0;

    // While a transfer runs the window takes no input but keeps painting.
    virtual void SetBusy(bool busy) = 0;
    virtual void KeepAlive() = 0;
    virtual void Quit() = 0;
};

}  // namespace vanconv
