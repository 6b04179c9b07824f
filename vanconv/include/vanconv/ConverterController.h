#pragma once
// The converter's logic, apart from painting: the window's procedures
// (start, direction switch, workbook choice, sheet choice, transfer, exit)
// over a ConverterView. It runs on the window thread.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "vanconv/ContactTransfer.h"
#include "vanconv/ConverterView.h"
#include "vanconv/MainProgram.h"
#include "vanconv/VanteloInstall.h"
#include "workbook/Workbook.h"

namespace vanconv {

class ConverterController {
public:
    using InstallFinder = std::function<std::optional<VanteloInstall>()>;

    ConverterController(
        ConverterView& view, MainProgram& program,
        InstallFinder findInstall = [] { return FindVanteloInstall(); });

    void Form_Load();
    void optToMDB_Click(int index);
    void cmdFileOpen_Click();
    void cboSheet_Click();
    void cmdTrans_Click();
    void cmdExit_Click();

    // Finds InstallFolder and DatabasePath; true when found.
    bool ReadGroup();
    void SetDataEnable(bool enable);
    // Lists the sheets of a workbook; false (with a message) when it cannot be read.
    bool ExcelOpen(const std::string& path);

    const std::string& InstallFolder() const { return installFolder_; }
    std::string DatabasePath() const;
    const std::string& ExcelFilePath() const { return excelFilePath_; }
    const std::string& ColumnTitle() const { return columnTitle_; }
    const workbook::Workbook* OpenWorkbook() const { return book_.get(); }

    // A row box's text read as a number: leading blanks, then digits (with a
    // fraction, rounded); 0 otherwise.
    static long long RowNumber(const std::string& text);

private:
    void UpdateTYcallerDB();
    void SaveTYcallerAddress();
    ImportPlan PlanFromView() const;
    void BackToStart();

    ConverterView& view_;
    MainProgram& program_;
    InstallFinder findInstall_;
    std::optional<VanteloInstall> install_;
    std::string installFolder_;
    std::string excelFilePath_;
    std::string columnTitle_;
    std::unique_ptr<workbook::Workbook> book_;
};

}  // namespace vanconv
