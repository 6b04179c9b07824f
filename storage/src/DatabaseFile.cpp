#include "storage/DatabaseFile.h"

#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

#include "SchemaPlan.h"
#include "platform/Translate.h"
#include "storage/Connection.h"

namespace storage {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "storage";

Result<fs::path> MoveAside(const fs::path& file, const vt::Clock& clock) {
    vt::LocalTime t = clock.NowLocal();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, ".damaged-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    fs::path aside = file;
    aside += stamp;
    std::error_code ec;
    for (int n = 1; fs::exists(aside, ec); ++n) {
        aside = file;
        aside += std::string(stamp) + "-" + std::to_string(n);
    }
    fs::rename(file, aside, ec);
    if (ec)
        return Status(ErrorCode::Io,
                      vt::Translate(kContext,
                                    QT_TRANSLATE_NOOP(
                                        "storage",
                                        "쓸 수 없는 데이터베이스 %1을(를) 옮겨 둘 수 없습니다: %2"),
                                    {file.string(), ec.message()}));
    // The log belongs to the old file; the new one must not replay it.
    fs::path wal = file, walAside = aside;
    wal += "-wal";
    walAside += "-wal";
    if (fs::exists(wal, ec))
        fs::rename(wal, walAside, ec);
    fs::path shm = file;
    shm += "-shm";
    fs::remove(shm, ec);
    return aside;
}

// The file's own problem, in words that say it was left alone.
Status KeptUnchanged(ErrorCode code, const fs::path& file, const std::string& why) {
    return Status(
        code,
        vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "%1은(는) 바꾸지 않고 두었습니다: %2"),
                      {file.string(), why}));
}

// Several programs starting on a new file race for this switch; the engine
// answers a loser "busy" at once, without waiting, so it is tried again
// (once another program has made the switch, it is a no-op).
Status SwitchToWriteAheadLog(Connection& c) {
    constexpr int kTries = 150;  // 20 ms apart: about the busy time-out of 3 s
    Status s = Status::Ok();
    for (int i = 0; i < kTries; ++i) {
        s = c.Exec("PRAGMA journal_mode = WAL", "switching to the write-ahead log");
        if (s.ok() || s.code() != ErrorCode::Busy)
            return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return s;
}

// Writes what the plan lacks: the log mode first (it cannot change inside a
// transaction), then, holding the write lock, whatever is still missing.
Status WriteMissing(Connection& c, const std::vector<TableSchema>& tables, const SchemaPlan& plan,
                    PrepareReport& report, std::string& refusal) {
    if (!plan.HasWriteAheadLog()) {
        Status s = SwitchToWriteAheadLog(c);
        if (!s.ok())
            return s;
        report.changed = true;
    }
    if (plan.Complete())
        return Status::Ok();
    Status s = c.Begin();
    if (!s.ok())
        return s;
    // Another program may have prepared the file while this one waited.
    Result<SchemaPlan> locked = SchemaPlan::Inspect(c, tables);
    if (!locked.ok())
        s = locked.status();
    else if (!locked.value().Refusal().empty())
        refusal = locked.value().Refusal();
    else
        s = locked.value().Apply(c, report);
    if (s.ok() && refusal.empty())
        s = c.Commit();
    if (!s.ok() || !refusal.empty()) {
        c.Rollback();
        return s;
    }
    report.changed = report.changed || !locked.value().Complete();
    return Status::Ok();
}

enum class Outcome { Ready, Unusable };

// Opens and prepares the file; `refusal` is set when its tables cannot be used.
Result<Outcome> PrepareOpen(const fs::path& file, const std::vector<TableSchema>& tables,
                            bool create, PrepareReport& report, std::string& refusal,
                            bool& holdsRows) {
    Result<std::unique_ptr<Connection>> opened = Connection::Open(
        file, create ? Connection::Mode::ReadWriteCreate : Connection::Mode::ReadWrite);
    if (!opened.ok()) {
        if (opened.status().code() == ErrorCode::Damaged)
            return KeptUnchanged(ErrorCode::Damaged, file, opened.status().message());
        return opened.status();
    }
    Connection& c = *opened.value();
    report.readOnly = c.ReadOnly();
    Result<SchemaPlan> plan = SchemaPlan::Inspect(c, tables);
    if (!plan.ok()) {
        if (plan.status().code() == ErrorCode::Damaged)
            return KeptUnchanged(ErrorCode::Damaged, file, plan.status().message());
        return plan.status();
    }
    refusal = plan.value().Refusal();
    if (refusal.empty() && plan.value().Complete())
        return Outcome::Ready;
    if (refusal.empty() && c.ReadOnly()) {
        // Indexes and the log mode only speed things up: read without them.
        if (!plan.value().LacksTablesOrColumns())
            return Outcome::Ready;
        return Status(
            ErrorCode::ReadOnly,
            vt::Translate(kContext,
                          QT_TRANSLATE_NOOP("storage", "%1은(는) 읽기 전용이고 %2이(가) 없습니다"),
                          {file.string(), plan.value().Missing()}));
    }
    if (refusal.empty()) {
        Status s = WriteMissing(c, tables, plan.value(), report, refusal);
        // Another program's long write: the tables are there, the rest can wait.
        if (!s.ok() && s.code() == ErrorCode::Busy && !plan.value().LacksTablesOrColumns())
            return Outcome::Ready;
        if (!s.ok())
            return s.code() == ErrorCode::Damaged
                       ? KeptUnchanged(ErrorCode::Damaged, file, s.message())
                       : s;
        if (refusal.empty())
            return Outcome::Ready;
    }
    holdsRows = HoldsRows(c);
    return Outcome::Unusable;
}

}  // namespace

Result<PrepareReport> PrepareDatabaseFile(const fs::path& file,
                                          const std::vector<TableSchema>& tables,
                                          const vt::Clock& clock) {
    PrepareReport report;
    std::error_code ec;
    bool exists = fs::exists(file, ec);
    if (exists && !fs::is_regular_file(file, ec))
        return Status(
            ErrorCode::InvalidArgument,
            vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "%1은(는) 파일이 아닙니다"),
                          {file.string()}));
    std::string refusal;
    bool holdsRows = true;
    Result<Outcome> outcome = PrepareOpen(file, tables, !exists, report, refusal, holdsRows);
    if (!outcome.ok())
        return outcome.status();
    report.created = !exists;
    if (outcome.value() == Outcome::Ready)
        return report;
    if (holdsRows || report.readOnly)
        return KeptUnchanged(
            ErrorCode::Incompatible, file,
            vt::Translate(
                kContext,
                QT_TRANSLATE_NOOP("storage", "%1; 이 프로그램은 이 파일을 쓸 수 없습니다"),
                {refusal}));
    // A database without any row whose tables cannot be used: nothing of the
    // user's is lost by putting it aside for a new one.
    Result<fs::path> aside = MoveAside(file, clock);
    if (!aside.ok())
        return aside.status();
    PrepareReport fresh;
    fresh.movedAside = aside.value();
    fresh.reason = vt::Translate(
        kContext, QT_TRANSLATE_NOOP("storage", "이 프로그램의 데이터베이스가 아닙니다: %1"),
        {refusal});
    outcome = PrepareOpen(file, tables, true, fresh, refusal, holdsRows);
    if (!outcome.ok())
        return outcome.status();
    if (outcome.value() != Outcome::Ready)
        return KeptUnchanged(ErrorCode::Incompatible, file, refusal);
    fresh.created = true;
    return fresh;
}

}  // namespace storage
