#pragma once
// One connection to a database file; every record set opens its own. Writes
// outside a transaction commit at once, and a commit returns only once the
// write-ahead log is on disk.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "storage/Result.h"

struct sqlite3;

namespace storage {

class Connection {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    // Opens the file with the engine settings of the system (write-ahead log,
    // full synchronisation, a wait of up to `busyTimeoutMs` for a lock). A
    // file that exists but cannot be written (read-only file, folder or
    // mount) is opened read-only; writes are then refused as ReadOnly. A new
    // file is created with the owner's rights only.
    static Result<std::unique_ptr<Connection>> Open(const std::filesystem::path& file,
                                                    Mode mode = Mode::ReadWrite,
                                                    int busyTimeoutMs = 3000);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::filesystem::path& File() const { return file_; }

    // Runs statements without results (schema, pragmas). An error names
    // `what` was being done, never the statement.
    Status Exec(const std::string& sql, const std::string& what = "changing the file");

    // True when the file could only be opened for reading.
    bool ReadOnly() const { return readOnly_; }

    Status Begin();
    Status Commit();
    void Rollback();
    bool InTransaction() const;

    // Changes whenever another connection commits to the file.
    Result<std::int64_t> DataVersion();

    // The engine's handle, for this layer's own statements.
    sqlite3* Handle() const { return db_; }

    // The status for an engine result code, with the engine's message.
    Status StatusFor(int rc, const std::string& what) const;

private:
    Connection(sqlite3* db, std::filesystem::path file) : db_(db), file_(std::move(file)) {}
    static Result<std::unique_ptr<Connection>> OpenWith(const std::filesystem::path& file,
                                                        const std::string& name, int flags,
                                                        int busyTimeoutMs, int& rc);

    sqlite3* db_;
    std::filesystem::path file_;
    bool readOnly_ = false;
};

// An error status for an engine result code (for callers without a connection).
Status StatusForCode(int rc, const std::string& message);

}  // namespace storage
