#pragma once
// Makes sure a database file holds the tables of the system, so that the
// record sets can open it. It reads first and writes only what is missing
// (a new file, a table, a column, an index, the write-ahead log), so a start
// never waits for another program's write when the file is complete, and a
// read-only file is prepared without any write.
//
// Several programs may prepare the same file at once: the writes run in one
// immediate transaction that looks again at the file once it holds the lock,
// and every statement is safe when another program made the table first.
//
// A table is the program's when it has every needed column with a type of
// the same kind; extra columns, tables and indexes are left alone, and a
// missing column is added. A file that is no database, is damaged, or holds a
// table that cannot be used is never written over and never replaced while
// it holds rows: the error says why and the file stays as it is. Only a
// database without a single row whose tables cannot be used is renamed aside
// (with the date in its name) for a new one; the report says so.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "storage/Result.h"
#include "storage/TableSchema.h"

namespace storage {

struct PrepareReport {
    bool created = false;              // a new file was made
    bool changed = false;              // anything was written to the file
    bool readOnly = false;             // the file can only be read
    std::filesystem::path movedAside;  // where an unusable empty file was put; empty if none
    std::string reason;                // why it was moved aside
    std::vector<std::string> tablesAdded;
    std::vector<std::string> columnsAdded;  // "Table.Column"
    std::vector<std::string> notes;         // a server's remarks (a missing extension ...)
};

Result<PrepareReport> PrepareDatabaseFile(const std::filesystem::path& file,
                                          const std::vector<TableSchema>& tables,
                                          const vt::Clock& clock);

}  // namespace storage
