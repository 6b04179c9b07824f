#include "storage/DatabaseRecovery.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <set>

#include "SchemaPlan.h"
#include "Statement.h"
#include "platform/Translate.h"
#include "storage/Connection.h"
#include "storage/DatabaseFile.h"

namespace storage {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "storage";

bool Stopping(const std::atomic<bool>* stop) {
    return stop && stop->load();
}

Status Interrupted() {
    return Status(ErrorCode::Engine, "interrupted");
}

int StopRequested(void* stop) {
    return Stopping(static_cast<const std::atomic<bool>*>(stop)) ? 1 : 0;
}

void RemoveDatabaseFiles(const fs::path& file) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::path p = file;
        p += suffix;
        fs::remove(p, ec);
    }
}

// Copies one table: a walk in record-number order that jumps over damaged
// stretches, then the records only the indexes still list.
class TableCopy {
public:
    TableCopy(Connection& from, Connection& to, const TableSchema& table,
              const std::atomic<bool>* stop, const RecoveryProgress& progress)
        : from_(from), to_(to), table_(table), stop_(stop), progress_(progress) {}

    Result<TableRecovery> Run() {
        result_.table = table_.name;
        Status s = PrepareStatements();
        if (!s.ok()) {
            result_.missing = true;
            return result_;
        }
        std::vector<std::int64_t> listed = IndexedRecords();
        s = Walk(listed.empty() ? std::numeric_limits<std::int64_t>::max() : listed.back());
        if (!s.ok())
            return s;
        for (std::int64_t id : listed) {
            if (Stopping(stop_))
                return Interrupted();
            if (Copied(id))
                continue;
            fetch_.Reset();
            Result<bool> row = fetch_.Bind(1, Value(id)).ok() ? fetch_.Step() : Result<bool>(false);
            if (row.ok() && row.value() && Copy(id, fetch_))
                continue;
            ++result_.lost;
        }
        return result_;
    }

private:
    Status PrepareStatements() {
        Result<Statement> info = Statement::Prepare(from_, "SELECT name FROM pragma_table_info(?)");
        if (!info.ok())
            return info.status();
        Status s = info.value().Bind(1, Value(table_.name));
        std::vector<std::string> present;
        while (s.ok()) {
            Result<bool> r = info.value().Step();
            if (!r.ok())
                return r.status();
            if (!r.value())
                break;
            present.push_back(info.value().Column(0).AsText());
        }
        if (present.empty())
            return Status(ErrorCode::Damaged, "no table " + table_.name);
        // Columns the file lacks keep their defaults in the copy.
        std::string cols, marks = "?";
        std::string into = "rowid";
        for (size_t i = 0; i < table_.columns.size(); ++i) {
            const Column& c = table_.columns[i];
            if (c.type == ColumnType::AutoNumber)
                continue;
            bool here = std::any_of(present.begin(), present.end(), [&](const std::string& n) {
                return table_.FindColumn(n) == static_cast<int>(i);
            });
            if (!here)
                continue;
            columns_.push_back(static_cast<int>(i));
            cols += (cols.empty() ? "" : ", ") + QuoteIdentifier(c.name);
            into += ", " + QuoteIdentifier(c.name);
            marks += ", ?";
        }
        const std::string t = QuoteIdentifier(table_.name);
        const std::string select = cols.empty() ? "rowid" : "rowid, " + cols;
        Result<Statement> walk = Statement::Prepare(
            from_, "SELECT " + select + " FROM " + t + " WHERE rowid > ? ORDER BY rowid");
        Result<Statement> fetch =
            Statement::Prepare(from_, "SELECT " + select + " FROM " + t + " WHERE rowid = ?");
        Result<Statement> seek = Statement::Prepare(
            from_, "SELECT rowid FROM " + t + " WHERE rowid >= ? ORDER BY rowid LIMIT 1");
        Result<Statement> insert =
            Statement::Prepare(to_, "INSERT INTO " + t + " (" + into + ") VALUES (" + marks + ")");
        for (auto* r : {&walk, &fetch, &seek, &insert})
            if (!r->ok())
                return r->status();
        walk_ = std::move(walk).value();
        fetch_ = std::move(fetch).value();
        seek_ = std::move(seek).value();
        insert_ = std::move(insert).value();
        return Status::Ok();
    }

    // Record numbers every index of the table lists, up to its first unreadable page.
    std::vector<std::int64_t> IndexedRecords() {
        std::vector<std::int64_t> out;
        Result<Statement> names = Statement::Prepare(
            from_, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?");
        if (!names.ok() || !names.value().Bind(1, Value(table_.name)).ok())
            return out;
        while (true) {
            Result<bool> r = names.value().Step();
            if (!r.ok() || !r.value())
                break;
            Result<Statement> scan = Statement::Prepare(
                from_, "SELECT rowid FROM " + QuoteIdentifier(table_.name) + " INDEXED BY " +
                           QuoteIdentifier(names.value().Column(0).AsText()));
            if (!scan.ok())
                continue;
            while (true) {
                Result<bool> row = scan.value().Step();
                if (!row.ok() || !row.value())
                    break;
                out.push_back(scan.value().ColumnInteger(0));
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    // The walk: on an unreadable stretch, go on from the first record number
    // that can be reached after it.
    Status Walk(std::int64_t highestListed) {
        std::int64_t after = std::numeric_limits<std::int64_t>::min();
        for (int stretches = 0; stretches < 100000; ++stretches) {
            walk_.Reset();
            Status s = walk_.Bind(1, Value(after));
            if (!s.ok())
                return s;
            while (true) {
                if (Stopping(stop_))
                    return Interrupted();
                Result<bool> row = walk_.Step();
                if (!row.ok())
                    break;
                if (!row.value())
                    return Status::Ok();
                std::int64_t id = walk_.ColumnInteger(0);
                if (!Copied(id) && Copy(id, walk_))
                    after = std::max(after, id);
                else if (!Copied(id))
                    ++result_.lost;
            }
            std::int64_t next = 0;
            if (!NextReachable(after, highestListed, next))
                return Status::Ok();
            after = next - 1;
        }
        return Status::Ok();
    }

    // 1: a record at or after `from` was reached (id set); 0: none after it;
    // -1: the search ran into a damaged page.
    int Seek(std::int64_t from, std::int64_t& id) {
        seek_.Reset();
        if (!seek_.Bind(1, Value(from)).ok())
            return -1;
        Result<bool> r = seek_.Step();
        if (!r.ok())
            return -1;
        if (!r.value())
            return 0;
        id = seek_.ColumnInteger(0);
        return 1;
    }

    // The first record number after `after` whose search does not fail:
    // doubling steps, then halving back to the edge of the damage.
    bool NextReachable(std::int64_t after, std::int64_t highestListed, std::int64_t& next) {
        const std::int64_t top = std::numeric_limits<std::int64_t>::max() / 2;
        std::int64_t base = after == std::numeric_limits<std::int64_t>::min() ? 0 : after;
        std::int64_t bad = base, good = 0, id = 0;
        bool found = false;
        for (std::int64_t step = 1; base + step < top; step *= 2) {
            int r = Seek(base + step, id);
            if (r >= 0) {
                good = base + step;
                found = r == 1;
                break;
            }
            bad = base + step;
            if (bad > highestListed && step > (std::int64_t{1} << 40))
                return false;
        }
        if (!found)
            return false;
        while (good - bad > 1) {
            std::int64_t mid = bad + (good - bad) / 2;
            if (Seek(mid, id) >= 0)
                good = mid;
            else
                bad = mid;
        }
        next = good;
        return true;
    }

    bool Copied(std::int64_t id) const { return copied_.count(id) != 0; }

    // Checks the values of a read record and writes it; false when they are
    // not valid for their columns (a damaged record) or the write fails.
    bool Copy(std::int64_t id, Statement& row) {
        insert_.Reset();
        if (!insert_.Bind(1, Value(id)).ok())
            return false;
        for (size_t k = 0; k < columns_.size(); ++k) {
            Value v = row.Column(static_cast<int>(k) + 1);  // after the record number
            if (!table_.Coerce(columns_[k], v).ok() ||
                !insert_.Bind(static_cast<int>(k) + 2, v).ok())
                return false;
        }
        if (!insert_.Run().ok())
            return false;
        copied_.insert(id);
        if (++result_.copied % 100000 == 0 && progress_)
            progress_(result_);
        return true;
    }

    Connection& from_;
    Connection& to_;
    const TableSchema& table_;
    const std::atomic<bool>* stop_;
    const RecoveryProgress& progress_;
    std::vector<int> columns_;
    Statement walk_, fetch_, seek_, insert_;
    std::set<std::int64_t> copied_;
    TableRecovery result_;
};

}  // namespace

Result<CheckReport> CheckDatabaseFile(const fs::path& file, const std::vector<TableSchema>& tables,
                                      const std::atomic<bool>* stop) {
    std::error_code ec;
    if (!fs::exists(file, ec))
        return Status(
            ErrorCode::NotOpen,
            vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "%1에 데이터베이스가 없습니다"),
                          {file.string()}));
    Result<std::unique_ptr<Connection>> c = Connection::Open(file, Connection::Mode::ReadOnly);
    if (!c.ok())
        return c.status();
    CheckReport report;
    report.readOnly = true;
    sqlite3_progress_handler(c.value()->Handle(), 10000, StopRequested,
                             const_cast<std::atomic<bool>*>(stop));
    Result<Statement> st = Statement::Prepare(*c.value(), "PRAGMA integrity_check(100)");
    if (!st.ok())
        return st.status();
    while (true) {
        Result<bool> r = st.value().Step();
        if (!r.ok() && Stopping(stop))
            return Interrupted();
        if (!r.ok() && r.status().code() != ErrorCode::Damaged)
            return r.status();
        if (!r.ok()) {
            // Damage bad enough to stop the check is a finding of its own.
            report.problems.push_back(r.status().message());
            break;
        }
        if (!r.value())
            break;
        report.problems.push_back(st.value().Column(0).AsText());
    }
    report.intact = report.problems == std::vector<std::string>{"ok"};
    if (report.intact)
        report.problems.clear();
    Result<SchemaPlan> plan = SchemaPlan::Inspect(*c.value(), tables);
    if (!plan.ok()) {
        report.unusable = plan.status().message();
    } else {
        report.unusable = plan.value().Refusal();
        report.missing = plan.value().Missing();
    }
    return report;
}

Result<std::vector<TableRecovery>> RecoverDatabaseFile(const fs::path& source, const fs::path& dest,
                                                       const std::vector<TableSchema>& tables,
                                                       const std::atomic<bool>* stop,
                                                       const RecoveryProgress& progress) {
    Result<std::unique_ptr<Connection>> from = Connection::Open(source, Connection::Mode::ReadOnly);
    if (!from.ok())
        return from.status();
    int fd = ::open(dest.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        const bool exists = errno == EEXIST;
        return Status(
            exists ? ErrorCode::InvalidArgument : ErrorCode::Io,
            exists ? vt::Translate(
                         kContext,
                         QT_TRANSLATE_NOOP(
                             "storage", "%1이(가) 이미 있습니다; 복구는 파일을 덮어쓰지 않습니다"),
                         {dest.string()})
                   : vt::Translate(kContext,
                                   QT_TRANSLATE_NOOP("storage", "%1: 파일을 만들 수 없습니다"),
                                   {dest.string()}));
    }
    ::close(fd);
    std::vector<TableRecovery> out;
    Status s = [&]() -> Status {
        Result<PrepareReport> made = PrepareDatabaseFile(dest, tables, vt::SystemClock::Instance());
        if (!made.ok())
            return made.status();
        Result<std::unique_ptr<Connection>> to = Connection::Open(dest);
        if (!to.ok())
            return to.status();
        Status w = to.value()->Begin();
        for (size_t i = 0; w.ok() && i < tables.size(); ++i) {
            Result<TableRecovery> r =
                TableCopy(*from.value(), *to.value(), tables[i], stop, progress).Run();
            if (!r.ok())
                w = r.status();
            else
                out.push_back(r.value());
        }
        if (w.ok())
            w = to.value()->Commit();
        if (!w.ok())
            to.value()->Rollback();
        return w;
    }();
    if (!s.ok()) {
        RemoveDatabaseFiles(dest);
        return s;
    }
    return out;
}

}  // namespace storage
