#pragma once
// One connection to a database (a SQLite file, or a PostgreSQL server named
// by a connection URI, see Dialect.h); every record set opens its own.
// Writes outside a transaction commit at once, and a commit returns only once
// the write is on disk.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "storage/Dialect.h"
#include "storage/Result.h"

struct sqlite3;

namespace storage {

class PgSession;

class Connection {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    // Opens the file with the engine settings of the system (write-ahead log,
    // full synchronisation, a wait of up to `busyTimeoutMs` for a lock). A
    // file that exists but cannot be written (read-only file, folder or
    // mount) is opened read-only; writes are then refused as ReadOnly. A new
    // file is created with the owner's rights only.
    //
    // A connection URI opens a session with that server instead (Mode has no
    // meaning there); `busyTimeoutMs` is then how long a row lock of another
    // desk is waited for. A URI that carries a password is refused.
    static Result<std::unique_ptr<Connection>> Open(const std::filesystem::path& file,
                                                    Mode mode = Mode::ReadWrite,
                                                    int busyTimeoutMs = 3000);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The file, or the URI of the server.
    const std::filesystem::path& File() const { return file_; }
    Dialect GetDialect() const { return pg_ ? Dialect::PostgreSQL : Dialect::SQLite; }

    // Runs statements without results (schema, pragmas). An error names
    // `what` was being done, never the statement.
    Status Exec(const std::string& sql, const std::string& what = "changing the file");

    // How long this session waits for the server's answer (see
    // SetServerAnswerDeadline); no meaning for a file.
    void SetAnswerDeadline(int ms);

    // True when the file could only be opened for reading (or the server
    // takes no writes at all).
    bool ReadOnly() const;
    // True when records of `table` may be added, changed and deleted: the
    // file is writable, or the server's role has those rights on the table.
    Result<bool> CanWrite(const std::string& table);

    Status Begin();
    Status Commit();
    void Rollback();
    bool InTransaction() const;

    // Changes whenever another connection commits to the file.
    Result<std::int64_t> DataVersion();
    // A text that changes whenever records of `table` are added, changed or
    // deleted (by anyone), for a copy that is refreshed only when needed.
    Result<std::string> TableVersion(const std::string& table);

    // Records changed by the last statement, and the record number of the
    // last record added (SQLite; the server returns it from the insert).
    std::int64_t Changes() const;
    std::int64_t LastInsertId() const;

    // The engine's handle, for this layer's own statements (null on a server).
    sqlite3* Handle() const { return db_; }
    // The server session, for this layer's own statements (null on a file).
    PgSession* Server() const { return pg_.get(); }

    // The status for an engine result code, with the engine's message.
    Status StatusFor(int rc, const std::string& what) const;

private:
    Connection(sqlite3* db, std::filesystem::path file);
    Connection(std::unique_ptr<PgSession> pg, std::filesystem::path file);
    static Result<std::unique_ptr<Connection>> OpenWith(const std::filesystem::path& file,
                                                        const std::string& name, int flags,
                                                        int busyTimeoutMs, int& rc);

    sqlite3* db_ = nullptr;
    std::unique_ptr<PgSession> pg_;
    std::filesystem::path file_;
    bool readOnly_ = false;
};

// How long a session waits for its server's answer to one command before it
// gives the server up as lost (30 s, far above any query of the pages; the
// schema's upgrades wait as long as they take). Tests of a hung server
// shorten it. Sessions opened later take the new value.
void SetServerAnswerDeadline(int ms);

// An error status for an engine result code (for callers without a connection).
Status StatusForCode(int rc, const std::string& message);

}  // namespace storage
