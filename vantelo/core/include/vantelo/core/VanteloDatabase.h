#pragma once
// The database file of the system and its three tables.

#include <filesystem>
#include <string>

#include "platform/Clock.h"
#include "storage/DatabaseFile.h"
#include "storage/TableSchema.h"

namespace vantelo {

inline constexpr const char* kDatabaseFileName = "VanteloDB1.db";

// AddressList and InnerLineList: ID and the 18 text fields of a contact.
storage::TableSchema AddressListSchema();
storage::TableSchema InnerLineListSchema();
// CallList: the 12 columns of a logged call.
storage::TableSchema CallListSchema();

// The database file in the application folder.
std::filesystem::path DefaultDatabasePath();

// Creates the file and its tables when missing. A damaged or foreign file is
// moved aside and replaced by an empty one; the report says where it went.
storage::Result<storage::PrepareReport> PrepareDatabase(
    const vt::Clock& clock, const std::filesystem::path& file = DefaultDatabasePath());

// A one-line text for the window when the report holds news for the user
// (a file moved aside); empty otherwise.
std::string PrepareNotice(const storage::PrepareReport& report);

}  // namespace vantelo
