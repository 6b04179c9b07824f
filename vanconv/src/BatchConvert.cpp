#include "vanconv/BatchConvert.h"

#include <algorithm>

#include "platform/Folders.h"
#include "vanconv/ContactFile.h"
#include "vanconv/ContactTransfer.h"

namespace vanconv {

int BatchConvert::Fail(const std::string& message) {
    std::fprintf(err_, "vanconv: %s\n", message.c_str());
    return 1;
}

int BatchConvert::Run(const CommandLine& cl) {
    auto install = FindVanteloInstall();
    if (!install) {
        // vantelo registers itself at its first start; a database put in its
        // folder before that (a restored backup, say) is still the book.
        const std::filesystem::path folder = vt::ApplicationFolderPath();
        install = FindUnregisteredInstall(folder);
        if (!install)
            return Fail(std::string("Vantelo is not installed: no Path in its registration") +
                        " (AppPaths.conf) and no " + kDatabaseFile + " in " + folder.string());
        std::fprintf(err_,
                     "vanconv: Vantelo has not registered itself yet (no Path in AppPaths.conf);"
                     " using the contact book in its default folder %s\n",
                     folder.c_str());
    }
    if (!install->DatabaseKnown())
        return Fail("the registered database " + install->databasePath.string() +
                    " is not a Vantelo database");
    return cl.mode == CommandLine::Mode::Export ? Export(cl, *install) : Import(cl, *install);
}

int BatchConvert::Export(const CommandLine& cl, const VanteloInstall& install) {
    if (!ContactFile::Writable(cl.file))
        return Fail(cl.file + ": the name must end in .xlsx, .vcf or .csv");
    auto rows = ContactTransfer::SaveTYcallerAddress(install.databasePath);
    if (!rows.ok())
        return Fail("cannot read the contact book: " + rows.status().message());
    std::string error;
    if (!ContactFile::Write(cl.file, rows.value(), error))
        return Fail(error);
    const size_t count = rows.value().empty() ? 0 : rows.value().size() - 1;
    std::fprintf(out_, "vanconv: %zu contacts exported to %s\n", count, cl.file.c_str());
    return 0;
}

int BatchConvert::Import(const CommandLine& cl, const VanteloInstall& install) {
    std::string error;
    auto book = ContactFile::Open(cl.file, error);
    if (!book)
        return Fail(cl.file + ": " + error);
    const workbook::Sheet* sheet = book->GetSheet(cl.sheet - 1);
    if (!sheet)
        return Fail(cl.file + " has no sheet " + std::to_string(cl.sheet) + " (it has " +
                    std::to_string(book->SheetCount()) + ")");
    ImportPlan plan;
    plan.sheet = sheet;
    plan.replace = cl.replace;
    plan.columns = cl.columns;
    if (cl.autoMap) {
        plan.columns = ContactTransfer::HeaderColumns(*sheet);
        const bool named = std::any_of(plan.columns.begin(), plan.columns.end(),
                                       [](int column) { return column > 0; });
        if (!named) {
            const std::string where =
                cl.sheet == 1 ? std::string() : " of sheet " + std::to_string(cl.sheet);
            return Fail(cl.file + ": row 1" + where +
                        " names no field (Name, Group, HomePhone, ...); give the columns with"
                        " --map Name=C,Group=C,...");
        }
    }
    if (cl.rowsGiven) {
        plan.startRow = cl.firstRow;
        plan.endRow = cl.lastRow;
    } else {
        plan.startRow = 2;
        plan.endRow = sheet->Used().LastRow();
    }
    if (plan.columns[kNameField] <= 0)
        return Fail("the Name field has no column (--map Name=C)");
    if (!plan.RangeValid())
        return Fail("no rows to import (rows " + std::to_string(plan.startRow) + "-" +
                    std::to_string(plan.endRow) + ")");

    const auto closed = program_.Close({});
    if (closed == MainProgram::CloseResult::StillRunning)
        return Fail("Vantelo did not close; nothing was imported");
    const ImportOutcome outcome = ContactTransfer::UpdateTYcallerDB(install.databasePath, plan);
    std::string restartError;
    // A script gets back the program it found running, and nothing more.
    if (closed == MainProgram::CloseResult::Closed) {
        if (!program_.Start(install, restartError))
            std::fprintf(err_, "vanconv: Vantelo could not be started again: %s\n",
                         restartError.c_str());
    } else {
        program_.Release();
    }
    if (outcome.kind != ImportOutcome::Kind::Done)
        return Fail("nothing was imported: " + outcome.error);
    std::fprintf(out_, "vanconv: %lld contacts imported from %s (sheet %d, rows %lld-%lld)%s\n",
                 outcome.stored, cl.file.c_str(), cl.sheet, plan.startRow, plan.endRow,
                 cl.replace ? ", the contact book was replaced" : "");
    return 0;
}

}  // namespace vanconv
