#pragma once
// Makes sure a database file holds the tables of the system, so that the
// record sets can open it. A missing file is created. A file that is no
// database, is damaged, or holds a table of another shape is never written
// over: it is renamed aside with the date in its name, a new empty database
// takes its place, and the report says so for the window to show. Errors that
// say nothing about the file itself (read-only, locked, disk full) are
// returned and leave the file as it is.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "storage/Result.h"
#include "storage/TableSchema.h"

namespace storage {

struct PrepareReport {
    bool created = false;              // a new file was made
    std::filesystem::path movedAside;  // where an unusable file was put; empty if none
    std::string reason;                // why it was moved aside
    std::vector<std::string> tablesAdded;
};

Result<PrepareReport> PrepareDatabaseFile(const std::filesystem::path& file,
                                          const std::vector<TableSchema>& tables,
                                          const vt::Clock& clock);

}  // namespace storage
