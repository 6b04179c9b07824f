#pragma once
// A small table of every column type, for the storage tests.

#include <filesystem>
#include <string>

#include "storage/Dialect.h"
#include "storage/TableSchema.h"

namespace storage::test {

TableSchema PeopleTable();  // ID, Name, Phone, Age (Byte), Vip (Yes/No), Seen (Date), Score (Long)

// Creates the file with the table and returns its path.
std::filesystem::path MakeDatabase(const std::filesystem::path& folder);
// The same on either engine: a file in `folder`, or a fresh database of the
// test program's own server (its URI as the path).
std::filesystem::path MakeDatabase(Dialect dialect, const std::filesystem::path& folder);
// A database that does not exist on that engine.
std::filesystem::path MissingDatabase(Dialect dialect, const std::filesystem::path& folder);

// Test names "SQLite" and "PostgreSQL" for suites run on both engines.
std::string EngineName(Dialect dialect);

}  // namespace storage::test
