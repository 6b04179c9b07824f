#include "storage/DatabaseFile.h"

#include <sqlite3.h>

#include <cstdio>
#include <system_error>

#include "Statement.h"
#include "storage/Connection.h"

namespace storage {

namespace fs = std::filesystem;

namespace {

struct Shape {
    bool present = false;
    bool matches = false;
    std::string why;
};

std::string Affinity(ColumnType t) {
    return t == ColumnType::Text || t == ColumnType::DateTime ? "TEXT" : "INTEGER";
}

Result<Shape> TableShape(Connection& c, const TableSchema& table) {
    Result<Statement> st =
        Statement::Prepare(c, "PRAGMA table_info(" + QuoteIdentifier(table.name) + ")");
    if (!st.ok())
        return st.status();
    Shape shape;
    size_t i = 0;
    shape.matches = true;
    while (true) {
        Result<bool> r = st.value().Step();
        if (!r.ok())
            return r.status();
        if (!r.value())
            break;
        shape.present = true;
        std::string name = st.value().Column(1).AsText();
        std::string type = st.value().Column(2).AsText();
        if (i >= table.columns.size() || table.FindColumn(name) != static_cast<int>(i) ||
            type != Affinity(table.columns[i].type)) {
            if (shape.matches)
                shape.why = "table " + table.name + " has column " + name + " " + type + " where " +
                            (i < table.columns.size() ? table.columns[i].name : "none") +
                            " is expected";
            shape.matches = false;
        }
        ++i;
    }
    if (shape.present && shape.matches && i != table.columns.size()) {
        shape.matches = false;
        shape.why = "table " + table.name + " has " + std::to_string(i) + " columns, not " +
                    std::to_string(table.columns.size());
    }
    return shape;
}

Status CreateTables(Connection& c, const std::vector<TableSchema>& tables,
                    const std::vector<bool>& missing) {
    Status s = c.Exec("PRAGMA journal_mode = WAL");
    if (!s.ok())
        return s;
    s = c.Begin();
    if (!s.ok())
        return s;
    for (size_t i = 0; i < tables.size() && s.ok(); ++i) {
        if (missing[i])
            s = c.Exec(tables[i].CreateTableSql());
        for (const std::string& sql : tables[i].CreateIndexSql()) {
            if (!s.ok())
                break;
            s = c.Exec(sql);
        }
    }
    if (s.ok())
        s = c.Commit();
    if (!s.ok())
        c.Rollback();
    return s;
}

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
        return Status(ErrorCode::Io, "cannot move the unusable database " + file.string() +
                                         " aside: " + ec.message());
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

Status CreateFile(const fs::path& file, const std::vector<TableSchema>& tables) {
    Result<std::unique_ptr<Connection>> c =
        Connection::Open(file, Connection::Mode::ReadWriteCreate);
    if (!c.ok())
        return c.status();
    return CreateTables(*c.value(), tables, std::vector<bool>(tables.size(), true));
}

}  // namespace

Result<PrepareReport> PrepareDatabaseFile(const fs::path& file,
                                          const std::vector<TableSchema>& tables,
                                          const vt::Clock& clock) {
    PrepareReport report;
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        Status s = CreateFile(file, tables);
        if (!s.ok())
            return s;
        report.created = true;
        return report;
    }
    if (!fs::is_regular_file(file, ec))
        return Status(ErrorCode::InvalidArgument, file.string() + " is not a file");

    std::string unusable;
    {
        Result<std::unique_ptr<Connection>> c = Connection::Open(file);
        if (!c.ok()) {
            if (c.status().code() != ErrorCode::Damaged)
                return c.status();
            unusable = c.status().message();
        } else {
            std::vector<bool> missing(tables.size(), false);
            for (size_t i = 0; i < tables.size() && unusable.empty(); ++i) {
                Result<Shape> shape = TableShape(*c.value(), tables[i]);
                if (!shape.ok()) {
                    if (shape.status().code() != ErrorCode::Damaged)
                        return shape.status();
                    unusable = shape.status().message();
                } else if (shape.value().present && !shape.value().matches) {
                    unusable = "not a database of this program: " + shape.value().why;
                } else if (!shape.value().present) {
                    missing[i] = true;
                    report.tablesAdded.push_back(tables[i].name);
                }
            }
            if (unusable.empty()) {
                Status s = CreateTables(*c.value(), tables, missing);
                if (s.ok())
                    return report;
                if (s.code() != ErrorCode::Damaged)
                    return s;
                unusable = s.message();
            }
        }
    }
    Result<fs::path> aside = MoveAside(file, clock);
    if (!aside.ok())
        return aside.status();
    report.movedAside = aside.value();
    report.reason = unusable;
    report.tablesAdded.clear();
    Status s = CreateFile(file, tables);
    if (!s.ok())
        return s;
    report.created = true;
    return report;
}

}  // namespace storage
