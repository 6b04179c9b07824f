#pragma once
// The phone's database and its tables: the file in the application folder,
// or the office's shared server when the setting DatabaseUrl names one.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/IniStore.h"
#include "storage/DatabaseFile.h"
#include "storage/ServerSchema.h"
#include "storage/TableSchema.h"

namespace vantelo {

inline constexpr const char* kDatabaseFileName = "VanteloDB1.db";

// AddressList and InnerLineList: ID and the 18 text fields of a contact.
storage::TableSchema AddressListSchema();
storage::TableSchema InnerLineListSchema();
// CallList: the 12 columns of a logged call, then the desk that logged it
// and the call's unique id (so that a call written twice is stored once).
storage::TableSchema CallListSchema();
inline constexpr int kCallListFields = 12;  // the columns of the call itself
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
// ContactEditLog (shared server only): the id of every contact edit a desk
// made while the server was away and handed over since, written in the same
// transaction as the edit itself, so an edit handed over twice lands once.
storage::TableSchema ContactEditLogSchema();
// Every table of the phone's database, in the order they are made.
std::vector<storage::TableSchema> PhoneTables();

// The one place that picks the database: the URI of DatabaseUrl in the
// settings file when set, else the database file in `appFolder`.
std::filesystem::path DatabaseIn(
    const std::filesystem::path& appFolder,
    const std::filesystem::path& settingsFile = vt::SettingsFilePath());
// The same for the application folder.
std::filesystem::path DefaultDatabasePath();
bool IsSharedDatabase(const std::filesystem::path& database);

// The schema of the shared server, version by version (the file is made by
// PrepareDatabase from the tables alone).
std::vector<storage::Migration> PhoneMigrations();

// Creates the file, its tables and missing columns when needed, writing
// nothing when the file is complete. On a server it runs the migrations the
// server lacks instead, and refuses a schema newer than this program's. A damaged file, or one
// whose tables this program cannot use, is kept unchanged and reported as an error; only an
// unusable file without a single row is moved aside for a new one.
storage::Result<storage::PrepareReport> PrepareDatabase(
    const vt::Clock& clock, const std::filesystem::path& file = DefaultDatabasePath());

// A one-line text for the window when the report holds news for the user
// (a file moved aside); empty otherwise.
std::string PrepareNotice(const storage::PrepareReport& report);

// A one-line text for the window when the file could not be prepared: what
// is wrong with it, that it was kept, and what the user can do.
std::string PrepareFailureNotice(const storage::Status& status);

// Why the shared server cannot be used: one line in the user's language
// and, on the next line, the detail.
std::string ServerFailureNotice(const storage::Status& status);
// What the window's status line says about the shared server after it was
// prepared (read-only role, no trigram search); empty when all is well.
std::string ServerPrepareNotice(const storage::PrepareReport& report);

}  // namespace vantelo
