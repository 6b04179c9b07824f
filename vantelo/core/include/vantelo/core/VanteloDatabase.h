#pragma once
// The phone's database file and its tables.

#include <filesystem>
#include <string>
#include <vector>

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
// BlockList: the screening rules (pattern, block or permit, action, note,
// hits and the last hit).
storage::TableSchema BlockListSchema();
// HeardList: the answering machine's messages that were heard (the call's
// record number and when), beside the call log so its columns stay as they are.
storage::TableSchema HeardListSchema();
// CardDavState: what the address-book sync knows of each contact it shares
// with the server: the contact's ID in AddressList, the card's address
// (Href) and version (ETag), the card as last exchanged (Card, so fields
// without a column survive), and the marks of changes made here since
// (LocalEdits counts edits, LocalDeleted), which triggers on AddressList set
// for every program that writes the file.
storage::TableSchema CardDavStateSchema();
// CardDavBook: per address book (Url), the server's sync token of the last sync.
storage::TableSchema CardDavBookSchema();
// Every table of the phone's database, in the order they are made.
std::vector<storage::TableSchema> PhoneTables();

// The database file in the application folder.
std::filesystem::path DefaultDatabasePath();

// Creates the file, its tables and missing columns when needed, writing
// nothing when the file is complete. A damaged file, or one whose tables this
// program cannot use, is kept unchanged and reported as an error; only an
// unusable file without a single row is moved aside for a new one.
storage::Result<storage::PrepareReport> PrepareDatabase(
    const vt::Clock& clock, const std::filesystem::path& file = DefaultDatabasePath());

// A one-line text for the window when the report holds news for the user
// (a file moved aside); empty otherwise.
std::string PrepareNotice(const storage::PrepareReport& report);

// A one-line text for the window when the file could not be prepared: what
// is wrong with it, that it was kept, and what the user can do.
std::string PrepareFailureNotice(const storage::Status& status);

}  // namespace vantelo
