#pragma once
// The calls' recordings on the shared server, so that any desk can play any
// call: each stored whole under its call's CallUid (in 256 KiB chunks, see
// storage/ChunkedFiles.h) and removed with the call's row by the server
// itself, whichever program deletes the call.

#include <atomic>
#include <filesystem>
#include <string>

#include "storage/ChunkedFiles.h"
#include "storage/Connection.h"

namespace vantelo {

// "CallRecording" keyed by "CallUid", and its chunks.
storage::FileTable RecordingTable();

// The tables and the trigger that removes a call's recording in the
// transaction that deletes the call (a migration's work).
storage::Status CreateRecordingTables(storage::Connection& connection);

// Stores the recording `file` of the call `callUid`. True when it is stored
// (now or before); false when the call is not in the log (deleted), so
// nothing is stored. A set `stop` abandons the upload.
storage::Result<bool> StoreRecording(storage::Connection& connection, const std::string& callUid,
                                     const std::filesystem::path& file,
                                     const std::atomic<bool>* stop = nullptr);

}  // namespace vantelo
