#include "vanconv/BatchConvert.h"

#include <algorithm>

#include "platform/Folders.h"
#include "platform/Translate.h"
#include "vanconv/ContactFile.h"
#include "vanconv/ContactTransfer.h"

namespace vanconv {

namespace {

std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::Translate("vanconv", text, args);
}

}  // namespace

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
            return Fail(
                T(QT_TRANSLATE_NOOP("vanconv",
                                    "Vantelo가 설치되어 있지 않습니다: 등록(AppPaths.conf)에 "
                                    "Path가 없고 %2에 %1이(가) 없습니다"),
                  {kDatabaseFile, folder.string()}));
        std::fprintf(
            err_, "vanconv: %s\n",
            T(QT_TRANSLATE_NOOP("vanconv",
                                "Vantelo가 아직 스스로 등록하지 않았습니다(AppPaths.conf에 Path "
                                "없음); 기본 폴더 %1의 연락처를 씁니다"),
              {folder.string()})
                .c_str());
    }
    if (!install->DatabaseKnown())
        return Fail(
            T(QT_TRANSLATE_NOOP("vanconv",
                                "등록된 데이터베이스 %1은(는) Vantelo 데이터베이스가 아닙니다"),
              {install->databasePath.string()}));
    return cl.mode == CommandLine::Mode::Export ? Export(cl, *install) : Import(cl, *install);
}

int BatchConvert::Export(const CommandLine& cl, const VanteloInstall& install) {
    if (!ContactFile::Writable(cl.file))
        return Fail(
            T(QT_TRANSLATE_NOOP("vanconv", "%1: 이름은 .xlsx, .vcf 또는 .csv로 끝나야 합니다"),
              {cl.file}));
    auto rows = ContactTransfer::SaveTYcallerAddress(install.databasePath);
    if (!rows.ok())
        return Fail(T(QT_TRANSLATE_NOOP("vanconv", "연락처를 읽을 수 없습니다: %1"),
                      {rows.status().message()}));
    std::string error;
    if (!ContactFile::Write(cl.file, rows.value(), error))
        return Fail(error);
    const size_t count = rows.value().empty() ? 0 : rows.value().size() - 1;
    std::fprintf(out_, "vanconv: %s\n",
                 T(QT_TRANSLATE_NOOP("vanconv", "연락처 %1개를 %2(으)로 내보냈습니다"),
                   {std::to_string(count), cl.file})
                     .c_str());
    return 0;
}

int BatchConvert::Import(const CommandLine& cl, const VanteloInstall& install) {
    std::string error;
    auto book = ContactFile::Open(cl.file, error);
    if (!book)
        return Fail(cl.file + ": " + error);
    const workbook::Sheet* sheet = book->GetSheet(cl.sheet - 1);
    if (!sheet)
        return Fail(T(QT_TRANSLATE_NOOP("vanconv", "%1에는 시트 %2이(가) 없습니다 (시트 %3개)"),
                      {cl.file, std::to_string(cl.sheet), std::to_string(book->SheetCount())}));
    ImportPlan plan;
    plan.sheet = sheet;
    plan.replace = cl.replace;
    plan.columns = cl.columns;
    if (cl.autoMap) {
        plan.columns = ContactTransfer::HeaderColumns(*sheet);
        const bool named = std::any_of(plan.columns.begin(), plan.columns.end(),
                                       [](int column) { return column > 0; });
        if (!named) {
            return Fail(
                cl.sheet == 1
                    ? T(QT_TRANSLATE_NOOP("vanconv",
                                          "%1: 1행에 필드 이름이 없습니다 (Name, Group, HomePhone, "
                                          "...); --map Name=C,Group=C,...로 열을 정하십시오"),
                        {cl.file})
                    : T(QT_TRANSLATE_NOOP(
                            "vanconv",
                            "%1: 시트 %2의 1행에 필드 이름이 없습니다 (Name, Group, HomePhone, "
                            "...); --map Name=C,Group=C,...로 열을 정하십시오"),
                        {cl.file, std::to_string(cl.sheet)}));
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
        return Fail(T(QT_TRANSLATE_NOOP("vanconv", "Name 필드에 열이 없습니다 (--map Name=C)")));
    if (!plan.RangeValid())
        return Fail(T(QT_TRANSLATE_NOOP("vanconv", "가져올 행이 없습니다 (%1-%2행)"),
                      {std::to_string(plan.startRow), std::to_string(plan.endRow)}));

    const auto closed = program_.Close({});
    if (closed == MainProgram::CloseResult::StillRunning)
        return Fail(
            T(QT_TRANSLATE_NOOP("vanconv", "Vantelo가 닫히지 않아 아무것도 가져오지 않았습니다")));
    const ImportOutcome outcome = ContactTransfer::UpdateTYcallerDB(install.databasePath, plan);
    std::string restartError;
    // A script gets back the program it found running, and nothing more.
    if (closed == MainProgram::CloseResult::Closed) {
        if (!program_.Start(install, restartError))
            std::fprintf(err_, "vanconv: %s\n",
                         T(QT_TRANSLATE_NOOP("vanconv", "Vantelo를 다시 시작할 수 없습니다: %1"),
                           {restartError})
                             .c_str());
    } else {
        program_.Release();
    }
    if (outcome.kind != ImportOutcome::Kind::Done)
        return Fail(
            T(QT_TRANSLATE_NOOP("vanconv", "아무것도 가져오지 않았습니다: %1"), {outcome.error}));
    const std::string where = T(QT_TRANSLATE_NOOP("vanconv", "시트 %1, %2행"),
                                {std::to_string(cl.sheet), std::to_string(plan.startRow) + "-" +
                                                               std::to_string(plan.endRow)});
    std::fprintf(
        out_, "vanconv: %s%s\n",
        T(QT_TRANSLATE_NOOP("vanconv", "%2에서 연락처 %1개를 가져왔습니다 (%3)"),
          {std::to_string(outcome.stored), cl.file, where})
            .c_str(),
        cl.replace ? T(QT_TRANSLATE_NOOP("vanconv", ", 연락처를 모두 바꾸었습니다")).c_str() : "");
    return 0;
}

}  // namespace vanconv
