#pragma once
// Files kept on a PostgreSQL server in ordinary rows: one row per file (its
// key, name and size) and its bytes in numbered bytea chunks of another
// table. A file is written in one transaction, so it is there whole or not
// at all; reading streams the chunks, so neither side holds a whole file in
// memory. Ordinary rows (rather than large objects) so that the tables'
// rights, deletions that cascade, and backups of the database cover them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "storage/Connection.h"

namespace storage {

struct FileTable {
    std::string name;       // one row per file; the chunks go to name + "Chunk"
    std::string keyColumn;  // the key that names a file
    std::string ChunkTable() const { return name + "Chunk"; }
};

// Makes the two tables (in a migration).
Status CreateFileTable(Connection& connection, const FileTable& table);

class ChunkedFiles {
public:
    static constexpr std::size_t kChunkBytes = 256 * 1024;

    struct Stored {
        std::string name;
        std::int64_t size = 0;
    };

    // `connection` must be a server's and outlive this object.
    ChunkedFiles(Connection& connection, FileTable table);

    // Stores `file` under `key` (with `name`) unless it is there already.
    // `ownerSql`, when given, is a query with one "?" for the key that finds
    // and locks the row the file belongs to ("... FOR KEY SHARE"): without
    // that row nothing is stored (false), and the row cannot go while the
    // file is written. True when the file is stored (now or before). A set
    // `stop` abandons the write between chunks (Cancelled).
    Result<bool> Put(const std::string& key, const std::string& name,
                     const std::filesystem::path& file, const std::string& ownerSql = {},
                     const std::atomic<bool>* stop = nullptr);
    // The file's name and size, if stored.
    Result<std::optional<Stored>> Find(const std::string& key);
    // Writes the stored file to `to` (made with the owner's rights only; an
    // existing file is replaced). NoCurrentRecord when nothing is stored
    // under `key`; on any failure `to` is removed.
    Status Fetch(const std::string& key, const std::filesystem::path& to);
    // Every key with a stored file.
    Result<std::set<std::string>> Keys();
    // Removes the file under `key` (nothing when none is there).
    Status Remove(const std::string& key);

private:
    Connection& connection_;
    FileTable table_;
};

}  // namespace storage
