#include "storage/Connection.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "JetPattern.h"

namespace storage {

namespace {

ErrorCode CodeFor(int rc) {
    switch (rc & 0xff) {
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return ErrorCode::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return ErrorCode::Busy;
        case SQLITE_FULL:
            return ErrorCode::DiskFull;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return ErrorCode::Damaged;
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            return ErrorCode::Io;
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
        case SQLITE_TOOBIG:
            return ErrorCode::InvalidValue;
        default:
            return ErrorCode::Engine;
    }
}

}  // namespace

Status StatusForCode(int rc, const std::string& message) {
    return Status(CodeFor(rc), message);
}

Status Connection::StatusFor(int rc, const std::string& what) const {
    std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    return Status(CodeFor(rc), what + " in " + file_.string() + ": " + detail);
}

Result<std::unique_ptr<Connection>> Connection::Open(const std::filesystem::path& file, Mode mode,
                                                     int busyTimeoutMs) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW;
    if (mode == Mode::ReadWriteCreate) {
        flags |= SQLITE_OPEN_CREATE;
        // SQLite would make the file 0644 (less the umask); contacts and
        // calls are private, and its journals copy the file's mode.
        const int fd =
            ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, 0600);
            ::close(fd);
        }
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return StatusForCode(rc, "opening " + file.string() + ": " + detail);
    }
    std::unique_ptr<Connection> c(new Connection(db, file));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Reading the schema is what tells a database from any other file.
    Status s = c->Exec("SELECT count(*) FROM sqlite_master");
    if (!s.ok())
        return s;
    // A write is reported done only once it is on disk.
    s = c->Exec("PRAGMA synchronous = FULL");
    if (!s.ok())
        return s;
    s = c->Exec("PRAGMA mmap_size = 268435456");
    if (!s.ok())
        return s;
    rc = RegisterJetLike(db);
    if (rc != SQLITE_OK)
        return c->StatusFor(rc, "registering the pattern match");
    return c;
}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

Status Connection::Exec(const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    if (err)
        sqlite3_free(err);
    return rc == SQLITE_OK ? Status::Ok() : StatusFor(rc, "running '" + sql + "'");
}

Status Connection::Begin() {
    return Exec("BEGIN IMMEDIATE");
}

Status Connection::Commit() {
    return Exec("COMMIT");
}

void Connection::Rollback() {
    if (InTransaction())
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Connection::InTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

Result<std::int64_t> Connection::DataVersion() {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return StatusFor(rc, "reading the data version");
    rc = sqlite3_step(stmt);
    std::int64_t v = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        return StatusFor(rc, "reading the data version");
    return v;
}

}  // namespace storage
