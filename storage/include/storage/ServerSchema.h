#pragma once
// The tables of a program on a PostgreSQL server, made and upgraded by the
// program itself through numbered migrations. The server keeps the number of
// the last migration applied; each migration runs in one transaction
// together with the new number, under a lock, so several desks starting at
// once upgrade the schema once. A server whose schema is newer than the
// program knows is refused (Incompatible) and left unchanged; a role that may
// not write reads a current schema as it is (read-only).

#include <functional>
#include <string>
#include <vector>

#include "storage/Connection.h"
#include "storage/TableSchema.h"

namespace storage {

struct Migration {
    int version = 0;   // 1, 2, 3 ... in order
    std::string what;  // for the report
    // Runs inside the migration's transaction; lines for the user go to `notes`.
    std::function<Status(Connection&, std::vector<std::string>& notes)> apply;
};

struct MigrationReport {
    int from = 0;  // the server's schema version before
    int to = 0;    // and after
    bool readOnly = false;
    std::vector<std::string> applied;  // `what` of each migration run
    std::vector<std::string> notes;
};

Result<MigrationReport> MigrateServer(Connection& connection,
                                      const std::vector<Migration>& migrations);

// The schema version the server holds (0 for a database without one).
Result<int> ServerSchemaVersion(Connection& connection);

// Building blocks of migrations. A table gets a record-number column
// "rowid" (the AutoNumber column's value where the table has one), its
// text columns in the "C" collation, its indexes (text columns through
// lower(), each ending with the record number, so that an ordered query needs
// no sort) and the trigger that counts committed changes.
Status CreateServerTable(Connection& connection, const TableSchema& table);
Status AddServerColumn(Connection& connection, const TableSchema& table, int column);
Status CreateServerIndex(Connection& connection, const TableSchema& table, size_t index);
// A trigram index (pg_trgm) that serves LIKE '*text*' on `column`. Where the
// server lacks the extension, nothing is made and a note says so.
Status CreateTrigramIndex(Connection& connection, const TableSchema& table,
                          const std::string& column, std::vector<std::string>& notes);

// A statement-level trigger on `table` that NOTIFYs `channel` with the
// table's name as payload whenever rows are added, changed or deleted (sent
// at commit, once per transaction and table).
Status CreateNotifyTrigger(Connection& connection, const std::string& table,
                           const std::string& channel);

// A first migration for a program's tables: all of `tables` as above.
Migration CreateTablesMigration(std::vector<TableSchema> tables);

}  // namespace storage
