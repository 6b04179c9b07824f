#include "storage/Connection.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "JetPattern.h"
#include "PgSession.h"
#include "platform/Translate.h"
#include "storage/TableSchema.h"

namespace storage {

namespace {

constexpr const char* kContext = "storage";

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
    if (pg_)
        return pg_->StatusFor(nullptr, what);
    std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (readOnly_ && CodeFor(rc) == ErrorCode::ReadOnly)
        detail = vt::Translate(
            kContext,
            QT_TRANSLATE_NOOP("storage", "파일이나 그 폴더에 쓸 수 없어 읽기 전용으로 열렸습니다"));
    return Status(CodeFor(rc), what + " in " + file_.string() + ": " + detail);
}

namespace {

// "file:" URI of a path, for the open parameters only a URI can carry.
std::string FileUri(const std::filesystem::path& file, const char* query) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out = "file:";
    for (unsigned char c : std::filesystem::absolute(file).string()) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out + "?" + query;
}

// Errors that say the file or its folder cannot be written, where a read-only
// open may still read it.
bool WriteRefused(int rc) {
    switch (rc & 0xff) {
        case SQLITE_CANTOPEN:
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_IOERR:
            return true;
        default:
            return false;
    }
}

// A log beside the file that holds unfinished commits: reading the file
// without it (immutable) would miss them.
bool HasLog(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::path wal = file;
    wal += "-wal";
    return std::filesystem::file_size(wal, ec) > 0 && !ec;
}

}  // namespace

Result<std::unique_ptr<Connection>> Connection::Open(const std::filesystem::path& file, Mode mode,
                                                     int busyTimeoutMs) {
    if (IsServerUri(file.native())) {
        Result<std::unique_ptr<PgSession>> session =
            PgSession::Connect(file.native(), busyTimeoutMs);
        if (!session.ok())
            return session.status();
        return std::unique_ptr<Connection>(new Connection(std::move(session).value(), file));
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW;
    if (mode == Mode::ReadWriteCreate) {
        flags |= SQLITE_OPEN_CREATE;
        // SQLite would make the file 0644 (less the umask); contacts and
        // calls are private, and its journals copy the file's mode. An
        // existing file stays as it is.
        const int fd =
            ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, 0600);
            ::close(fd);
        }
    }
    int rc = SQLITE_READONLY;
    Result<std::unique_ptr<Connection>> c = Status(ErrorCode::ReadOnly, "opening read-only");
    if (mode != Mode::ReadOnly)
        c = OpenWith(file, file.string(), flags, busyTimeoutMs, rc);
    if (c.ok() || mode == Mode::ReadWriteCreate || !WriteRefused(rc))
        return c;
    // A file that cannot be written, or a write-ahead log that cannot be made
    // in a read-only folder: read it read-only, and as unchanging when even
    // the log's shared memory cannot be made (nothing else writes there then).
    Result<std::unique_ptr<Connection>> ro = OpenWith(
        file, file.string(), SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, busyTimeoutMs, rc);
    if (!ro.ok() && WriteRefused(rc) && !HasLog(file))
        ro = OpenWith(file, FileUri(file, "immutable=1"),
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOFOLLOW, busyTimeoutMs,
                      rc);
    return ro.ok() || mode == Mode::ReadOnly ? std::move(ro) : std::move(c);
}

Result<std::unique_ptr<Connection>> Connection::OpenWith(const std::filesystem::path& file,
                                                         const std::string& name, int flags,
                                                         int busyTimeoutMs, int& rc) {
    sqlite3* db = nullptr;
    rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return StatusForCode(rc, "opening " + file.string() + ": " + detail);
    }
    std::unique_ptr<Connection> c(new Connection(db, file));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Reading the schema is what tells a database from any other file.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return StatusForCode(rc, "reading " + file.string() + ": " + sqlite3_errmsg(db));
    c->readOnly_ = sqlite3_db_readonly(db, "main") == 1;
    // A write is reported done only once it is on disk.
    Status s = c->Exec("PRAGMA synchronous = FULL", "setting up the connection");
    if (s.ok())
        s = c->Exec("PRAGMA mmap_size = 268435456", "setting up the connection");
    if (!s.ok())
        return s;
    rc = RegisterJetLike(db);
    if (rc != SQLITE_OK)
        return c->StatusFor(rc, "registering the pattern match");
    return c;
}

Connection::Connection(sqlite3* db, std::filesystem::path file) : db_(db), file_(std::move(file)) {}

Connection::Connection(std::unique_ptr<PgSession> pg, std::filesystem::path file)
    : pg_(std::move(pg)), file_(std::move(file)) {}

Connection::~Connection() {
    if (db_)
        sqlite3_close_v2(db_);
}

bool Connection::ReadOnly() const {
    return pg_ ? pg_->ReadOnly() : readOnly_;
}

Result<bool> Connection::CanWrite(const std::string& table) {
    if (pg_)
        return pg_->CanWrite(table);
    return !readOnly_;
}

std::int64_t Connection::Changes() const {
    return pg_ ? pg_->Changes() : sqlite3_changes64(db_);
}

std::int64_t Connection::LastInsertId() const {
    return pg_ ? 0 : sqlite3_last_insert_rowid(db_);
}

Status Connection::Exec(const std::string& sql, const std::string& what) {
    if (pg_)
        return pg_->Exec(sql, what);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? Status::Ok() : StatusFor(rc, what);
}

Status Connection::Begin() {
    return Exec(pg_ ? "BEGIN" : "BEGIN IMMEDIATE", "starting a write");
}

Status Connection::Commit() {
    return Exec("COMMIT", "committing a write");
}

void Connection::Rollback() {
    if (!InTransaction())
        return;
    if (pg_)
        (void)pg_->Exec("ROLLBACK", "rolling back");
    else
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Connection::InTransaction() const {
    return pg_ ? pg_->InTransaction() : sqlite3_get_autocommit(db_) == 0;
}

Result<std::int64_t> Connection::DataVersion() {
    if (pg_)
        return pg_->DataVersion();
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

void Connection::SetAnswerDeadline(int ms) {
    if (pg_)
        pg_->SetDeadline(ms);
}

Result<std::string> Connection::TableVersion(const std::string& table) {
    const std::string what = "reading the version of " + table;
    const std::string quoted = QuoteIdentifier(table);
    // The server marks each row version with the transaction that wrote it;
    // a file has no such mark, so there only the count and the last record
    // stand in (an edit in place is not seen).
    if (pg_)
        return pg_->QueryOne(
            "SELECT count(*) || ':' || coalesce(max(xmin::text::bigint), 0) FROM " + quoted, what);
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT count(*) || ':' || coalesce(max(rowid), 0) FROM " + quoted;
    int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return StatusFor(rc, what);
    rc = sqlite3_step(stmt);
    std::string v;
    if (rc == SQLITE_ROW)
        v = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        return StatusFor(rc, what);
    return v;
}

}  // namespace storage
