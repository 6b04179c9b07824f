#pragma once
// What a database file lacks of the tables a program needs, found by reading
// only: tables, columns and indexes to add, and whether the file is in
// write-ahead-log mode. A column that exists with a type of the same kind
// (by SQLite's type affinity) is the program's column; extra columns, tables
// and indexes are left alone. A needed column that exists with a type that
// cannot hold the program's values, or that cannot be added (the record
// number), makes the file unusable: the plan says why.

#include <string>
#include <vector>

#include "storage/Connection.h"
#include "storage/DatabaseFile.h"
#include "storage/TableSchema.h"

namespace storage {

class SchemaPlan {
public:
    static Result<SchemaPlan> Inspect(Connection& connection,
                                      const std::vector<TableSchema>& tables);

    // Empty when the file can be used; else one line saying why not.
    const std::string& Refusal() const { return refusal_; }
    // Nothing at all to write.
    bool Complete() const;
    // Tables or columns are missing: the record sets cannot open without them.
    bool LacksTablesOrColumns() const;
    bool HasWriteAheadLog() const { return wal_; }
    // A short list of what is missing, for messages.
    std::string Missing() const;

    // Creates what is missing, inside the caller's write transaction.
    Status Apply(Connection& connection, PrepareReport& report) const;

private:
    struct TableNeed {
        const TableSchema* table = nullptr;
        bool create = false;
        std::vector<int> columns;  // to add
        std::vector<size_t> indexes;
    };

    std::vector<TableNeed> needs_;
    std::string refusal_;
    bool wal_ = false;
};

// True when any table of the file holds a row, or when that cannot be told.
bool HoldsRows(Connection& connection);

}  // namespace storage
