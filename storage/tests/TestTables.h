#pragma once
// A small table of every column type, for the storage tests.

#include <filesystem>

#include "storage/TableSchema.h"

namespace storage::test {

TableSchema PeopleTable();  // ID, Name, Phone, Age (Byte), Vip (Yes/No), Seen (Date), Score (Long)

// Creates the file with the table and returns its path.
std::filesystem::path MakeDatabase(const std::filesystem::path& folder);

}  // namespace storage::test
