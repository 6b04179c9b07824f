#pragma once
// Examining a database file and saving what can still be read from a damaged
// one. Both only read the file they examine.
//
// Debian's sqlite3 shell (3.40) has a `.recover` command, but it needs
// SQLite's page-reading table, which Debian's library is built without, so it
// fails; the recovery extensions are not packaged either.
// Recovery therefore reads with ordinary queries: it walks the table in
// record-number order, jumps over a damaged stretch by searching for the
// first record number it can reach after it, reads the records the table's
// indexes still list one by one, and copies every record whose values are
// valid for their columns into a new file with the program's tables.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "storage/Result.h"
#include "storage/TableSchema.h"

namespace storage {

struct CheckReport {
    bool intact = false;                // the engine's integrity check found nothing
    std::vector<std::string> problems;  // the engine's findings (the first 100)
    std::string unusable;               // why the program cannot use the tables; empty if it can
    std::string missing;                // what preparing the file would add; empty if nothing
    bool readOnly = false;
};

// Runs the engine's integrity check and the program's table check. A set
// `stop` interrupts it (the result is then an error).
Result<CheckReport> CheckDatabaseFile(const std::filesystem::path& file,
                                      const std::vector<TableSchema>& tables,
                                      const std::atomic<bool>* stop = nullptr);

struct TableRecovery {
    std::string table;
    long copied = 0;
    long lost = 0;         // records the file lists but could not give with valid values
    bool missing = false;  // the table itself could not be found or read
};

// Told the counts of the table being copied, every 100000 records.
using RecoveryProgress = std::function<void(const TableRecovery&)>;

// Copies the readable records of `tables` from `source` into `dest`, which
// must not exist (it is never written over) and is created with the
// program's tables. Record numbers are kept. On an error or a set `stop`,
// `dest` is removed again.
Result<std::vector<TableRecovery>> RecoverDatabaseFile(const std::filesystem::path& source,
                                                       const std::filesystem::path& dest,
                                                       const std::vector<TableSchema>& tables,
                                                       const std::atomic<bool>* stop = nullptr,
                                                       const RecoveryProgress& progress = {});

}  // namespace storage
