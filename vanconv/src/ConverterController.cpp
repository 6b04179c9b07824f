#include "vanconv/ConverterController.h"

#include <cmath>
#include <cstdlib>

#include "platform/Translate.h"
#include "vanconv/ColumnTitle.h"
#include "vanconv/ContactFile.h"
#include "vanconv/ConverterTexts.h"

namespace vanconv {

namespace {

// A text of the window in the user's language.
std::string T(const char* text) {
    return vt::Translate("vanconv::text", text);
}

}  // namespace

namespace {

constexpr Ctl kFrames[] = {Ctl::FrmWorksheet, Ctl::FrmDataLine, Ctl::FrmData, Ctl::FrmAppend};

}  // namespace

ConverterController::ConverterController(ConverterView& view, MainProgram& program,
                                         InstallFinder findInstall)
    : view_(view), program_(program), findInstall_(std::move(findInstall)) {}

void ConverterController::Form_Load() {
    SetDataEnable(false);
    view_.Enable(Ctl::CmdTrans, false);
    view_.Enable(Ctl::CmdFileOpen, true);
    view_.SetText(Ctl::LblState, T(text::kChooseWorkbook));
}

void ConverterController::SetDataEnable(bool enable) {
    for (Ctl frame : kFrames) view_.Enable(frame, enable);
}

void ConverterController::optToMDB_Click(int index) {
    view_.SetChecked(index == 0 ? Ctl::OptToMdb0 : Ctl::OptToMdb1, true);
    if (index != 0) {
        view_.Enable(Ctl::CmdFileOpen, false);
        SetDataEnable(false);
        view_.Enable(Ctl::CmdTrans, true);
        view_.SetText(Ctl::CmdTrans, T(text::kSave));
        view_.SetText(Ctl::LblTransState, T(text::kSaveHint));
        view_.SetText(Ctl::LblState, T(text::kOverwrite));
    } else {
        view_.Enable(Ctl::CmdFileOpen, true);
        view_.Enable(Ctl::CmdTrans, false);
        view_.SetText(Ctl::CmdTrans, T(text::kTrans));
        view_.SetText(Ctl::LblTransState, T(text::kTransHint));
        view_.SetText(Ctl::LblState, T(text::kChooseWorkbook));
    }
}

bool ConverterController::ReadGroup() {
    install_ = findInstall_();
    if (!install_) {
        installFolder_.clear();
        return false;
    }
    installFolder_ = install_->installFolder;
    view_.SetText(Ctl::LblState, T(text::kInstalledAt) + installFolder_);
    return true;
}

std::string ConverterController::DatabasePath() const {
    return install_ ? install_->databasePath.string() : std::string();
}

void ConverterController::cmdFileOpen_Click() {
    const std::string path = view_.ChooseOpenFile();
    if (path.empty()) {
        view_.Inform(T(text::kNoFile));
        return;
    }
    if (!ReadGroup()) {
        view_.SetText(Ctl::LblState, T(text::kNotInstalled));
        view_.SetText(Ctl::LblState1, T(text::kReinstall));
        return;
    }
    if (!ExcelOpen(path))
        return;
    view_.SetText(Ctl::LblFilePath, path);
    excelFilePath_ = path;
    view_.SetText(Ctl::LblState, T(text::kCheckSettings));
    SetDataEnable(true);
    view_.Enable(Ctl::CmdTrans, true);
}

bool ConverterController::ExcelOpen(const std::string& path) {
    std::string error;
    auto book = ContactFile::Open(path, error);
    if (!book) {
        // Nothing of the previous choice is lost.
        view_.Inform(T(text::kCannotOpen) + error);
        return false;
    }
    book_ = std::move(book);
    view_.SetItems(Ctl::CboSheet, book_->SheetNames());
    view_.Select(Ctl::CboSheet, 0);
    cboSheet_Click();
    return true;
}

void ConverterController::cboSheet_Click() {
    for (int f = 0; f < kFieldCount; ++f) view_.SetItems(FieldList(f), {});
    const int index = view_.Selected(Ctl::CboSheet);
    const workbook::Sheet* sheet = book_ ? book_->GetSheet(index < 0 ? 0 : index) : nullptr;
    if (!sheet)
        return;
    const workbook::UsedRange used = sheet->Used();
    const int lastColumn = used.LastColumn();
    const int lastRow = used.LastRow();
    if (lastRow == 1 && lastColumn == 1) {
        view_.SetText(Ctl::EdtStartRow, "0");
        view_.SetText(Ctl::EdtEndRow, "0");
    } else if (lastRow == 1) {
        view_.SetText(Ctl::EdtStartRow, "1");
        view_.SetText(Ctl::EdtEndRow, "1");
    } else {
        view_.SetText(Ctl::EdtStartRow, "2");
        view_.SetText(Ctl::EdtEndRow, std::to_string(lastRow));
    }
    std::vector<std::string> labels = {kNoColumn};
    if (lastRow > 1) {
        for (int c = 1; c <= lastColumn; ++c) {
            const std::string& header = sheet->Text(1, c);
            if (header.empty()) {
                columnTitle_ = TitleNumber(c - 1);
                labels.push_back(columnTitle_);
            } else {
                labels.push_back(header);
            }
        }
    }
    for (int f = 0; f < kFieldCount; ++f) {
        view_.SetItems(FieldList(f), labels);
        view_.Select(FieldList(f), 0);
    }
}

long long ConverterController::RowNumber(const std::string& text) {
    const char* s = text.c_str();
    while (*s == ' ' || *s == '\t') ++s;
    if (!(*s >= '0' && *s <= '9') && *s != '-' && *s != '+' && *s != '.')
        return 0;
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s || !std::isfinite(v) || std::fabs(v) > 1e15)
        return 0;
    return std::llround(v);
}

ImportPlan ConverterController::PlanFromView() const {
    ImportPlan plan;
    const int index = view_.Selected(Ctl::CboSheet);
    plan.sheet = book_ ? book_->GetSheet(index < 0 ? 0 : index) : nullptr;
    plan.startRow = RowNumber(view_.Text(Ctl::EdtStartRow));
    plan.endRow = RowNumber(view_.Text(Ctl::EdtEndRow));
    for (int f = 0; f < kFieldCount; ++f) plan.columns[f] = view_.Selected(FieldList(f));
    plan.replace = view_.Checked(Ctl::OptAppend1);
    return plan;
}

void ConverterController::cmdTrans_Click() {
    if (view_.Checked(Ctl::OptToMdb1)) {
        ReadGroup();
        if (!install_) {
            view_.SetText(Ctl::LblState, T(text::kNotInstalled));
            view_.SetText(Ctl::LblState1, T(text::kReinstall));
            return;
        }
        view_.SetText(Ctl::LblState, T(text::kChooseName));
        SaveTYcallerAddress();
        optToMDB_Click(0);
        view_.SetChecked(Ctl::OptAppend0, true);
        SetDataEnable(false);
        view_.Enable(Ctl::CmdTrans, false);
        view_.Enable(Ctl::CmdFileOpen, true);
        view_.SetText(Ctl::CmdTrans, T(text::kTrans));
        return;
    }
    UpdateTYcallerDB();
}

void ConverterController::UpdateTYcallerDB() {
    const ImportPlan plan = PlanFromView();
    if (plan.RowCount() <= 0 || plan.startRow < 1 || !plan.sheet) {
        view_.SetText(Ctl::LblState1, T(text::kBadRange));
        return;
    }
    // Asked before anything changes: nothing is emptied or closed for an
    // import that would stop at its first row.
    if (plan.columns[kNameField] <= 0) {
        view_.Inform(T(text::kNameMissing));
        return;
    }
    view_.SetText(Ctl::LblState1, "");
    if (!install_ || !install_->DatabaseKnown())
        return;
    const std::string before = view_.Text(Ctl::LblState);
    view_.SetText(Ctl::LblState, T(text::kConverting));
    // The question comes before the main program is asked to close, so a
    // Cancel leaves it running.
    if (plan.replace && !view_.Confirm(T(text::kReplaceQuestion), T(text::kReplaceTitle))) {
        view_.SetText(Ctl::LblState, before);
        return;
    }
    view_.SetBusy(true);
    const auto closed = program_.Close([this] { view_.KeepAlive(); });
    if (closed == MainProgram::CloseResult::StillRunning) {
        view_.SetText(Ctl::LblState, T(text::kStillRunning));
        view_.SetText(Ctl::LblState1, T(text::kCloseVantelo));
        view_.SetBusy(false);
        return;
    }
    if (plan.replace)
        view_.SetText(Ctl::LblState, T(text::kReplacing));
    view_.SetText(Ctl::LblState, T(text::kConverting));
    const ImportOutcome outcome = ContactTransfer::UpdateTYcallerDB(
        install_->databasePath, plan, [this](long long done, long long total) {
            view_.SetText(Ctl::LblState1, T(text::kProgress) + std::to_string(done) + " / " +
                                              std::to_string(total));
            view_.KeepAlive();
        });
    std::string restartError;
    const bool done = outcome.kind == ImportOutcome::Kind::Done;
    if (done) {
        view_.SetText(Ctl::LblState, T(text::kDone));
        view_.SetText(Ctl::LblState1, T(text::kContinue));
        BackToStart();
    } else {
        // The table is as it was; the settings stay for another try.
        view_.SetText(Ctl::LblState, T(text::kFailed));
        view_.SetText(Ctl::LblState1, outcome.error);
    }
    // The main program comes back after every import, and after a failed
    // one whenever it had been running.
    if (done || closed == MainProgram::CloseResult::Closed) {
        if (!program_.Start(*install_, restartError))
            view_.SetText(Ctl::LblState1, T(text::kRestartFailed) + restartError);
    } else {
        program_.Release();
    }
    view_.SetBusy(false);
    if (!done)
        view_.Inform(T(text::kFailed) + "\n" + outcome.error);
}

void ConverterController::BackToStart() {
    view_.SetText(Ctl::LblFilePath, "");
    excelFilePath_.clear();
    view_.SetChecked(Ctl::OptAppend0, true);
    SetDataEnable(false);
    view_.Enable(Ctl::CmdTrans, false);
}

void ConverterController::SaveTYcallerAddress() {
    if (!install_->DatabaseKnown())
        return;
    auto rows = ContactTransfer::SaveTYcallerAddress(install_->databasePath);
    if (!rows.ok()) {
        view_.Inform(T(text::kCannotRead) + rows.status().message());
        return;
    }
    const std::string file = view_.ChooseSaveFile(T(text::kSaveTitle));
    view_.SetText(Ctl::LblTransState, file);
    if (!ContactFile::Writable(file))
        return;  // cancelled, or a name of no known kind: nothing is stored
    std::string error;
    if (!ContactFile::Write(file, rows.value(), error)) {
        view_.Inform(T(text::kCannotSave) + error);
        return;
    }
    view_.SetText(Ctl::LblTransState, T(text::kSaved));
    // The direction switch that follows replaces the text above at once;
    // this line keeps the news for the user.
    view_.SetText(Ctl::LblState1, T(text::kSaved) + " : " + file);
}

void ConverterController::cmdExit_Click() {
    view_.Quit();
}

}  // namespace vanconv
