#include "storage/ChunkedFiles.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "PgQuery.h"
#include "PgSession.h"
#include "storage/TableSchema.h"
#include "storage/Transaction.h"

namespace storage {

namespace {

constexpr Oid kText = 25, kBytea = 17, kInt8 = 20;

struct ResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, ResultFree>;

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

Status NeedServer(Connection& c) {
    return c.Server() ? Status::Ok()
                      : Status(ErrorCode::InvalidArgument, "stored files need a server database");
}

// One parameter of a statement: text, or bytes sent as they are.
struct Param {
    const char* data;
    int length;
    Oid type;
    bool binary;
};

Param TextParam(const std::string& s) {
    return {s.c_str(), static_cast<int>(s.size()), kText, false};
}

// Runs `sql` ($1, $2 ...) with `params`; results in binary when `binaryResult`.
Result<PgResult> Run(PgSession& session, const std::string& sql, const std::vector<Param>& params,
                     const std::string& what, bool binaryResult = false) {
    std::vector<Oid> types;
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    for (const Param& p : params) {
        types.push_back(p.type);
        values.push_back(p.data);
        lengths.push_back(p.length);
        formats.push_back(p.binary ? 1 : 0);
    }
    PgResult r(PQexecParams(session.Conn(), sql.c_str(), static_cast<int>(params.size()),
                            types.data(), values.data(), lengths.data(), formats.data(),
                            binaryResult ? 1 : 0));
    const ExecStatusType st = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
        return session.StatusFor(r.get(), what);
    session.Note(r.get());
    return r;
}

Status IoError(const std::string& what, const std::filesystem::path& file) {
    return Status(ErrorCode::Io, what + " " + file.string() + ": " + std::strerror(errno));
}

}  // namespace

Status CreateFileTable(Connection& c, const FileTable& t) {
    Status s = NeedServer(c);
    if (!s.ok())
        return s;
    const std::string files = QuoteIdentifier(t.name);
    const std::string key = QuoteIdentifier(t.keyColumn);
    return c.Exec("CREATE TABLE IF NOT EXISTS " + files + " (" + key +
                      " varchar(64) COLLATE \"C\" PRIMARY KEY, \"FileName\" text NOT NULL, "
                      "\"Size\" bigint NOT NULL, \"Stored\" timestamp(0) NOT NULL DEFAULT "
                      "localtimestamp);"
                      "CREATE TABLE IF NOT EXISTS " +
                      QuoteIdentifier(t.ChunkTable()) + " (" + key + " varchar(64) COLLATE \"C\" " +
                      "NOT NULL REFERENCES " + files +
                      " ON DELETE CASCADE, \"Seq\" integer NOT NULL, \"Data\" bytea NOT NULL, "
                      "PRIMARY KEY (" +
                      key + ", \"Seq\"))",
                  "creating table " + t.name);
}

ChunkedFiles::ChunkedFiles(Connection& connection, FileTable table)
    : connection_(connection), table_(std::move(table)) {}

Result<bool> ChunkedFiles::Put(const std::string& key, const std::string& name,
                               const std::filesystem::path& file, const std::string& ownerSql,
                               const std::atomic<bool>* stop) {
    Status s = NeedServer(connection_);
    if (!s.ok())
        return s;
    PgSession& session = *connection_.Server();
    Fd in;
    in.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0)
        return IoError("reading", file);
    Transaction tx(connection_);
    s = tx.Begin();
    if (!s.ok())
        return s;
    if (!ownerSql.empty()) {
        int count = 0;
        auto owner = Run(session, NumberPlaceholders(ownerSql, count), {TextParam(key)},
                         "finding the owner of " + name);
        if (!owner.ok())
            return owner.status();
        if (PQntuples(owner.value().get()) == 0)
            return false;
    }
    const std::string keyColumn = QuoteIdentifier(table_.keyColumn);
    // Another program storing the same file at once makes this wait for its
    // commit, then find the row.
    auto head = Run(session,
                    "INSERT INTO " + QuoteIdentifier(table_.name) + " (" + keyColumn +
                        ", \"FileName\", \"Size\") VALUES ($1, $2, 0) ON CONFLICT DO NOTHING",
                    {TextParam(key), TextParam(name)}, "storing " + name);
    if (!head.ok())
        return head.status();
    if (std::strcmp(PQcmdTuples(head.value().get()), "0") == 0)
        return true;  // stored before
    const std::string insert = "INSERT INTO " + QuoteIdentifier(table_.ChunkTable()) + " (" +
                               keyColumn + ", \"Seq\", \"Data\") VALUES ($1, $2, $3)";
    std::vector<char> buffer(kChunkBytes);
    std::int64_t size = 0;
    for (int seq = 0;; ++seq) {
        if (stop && stop->load())
            return Status(ErrorCode::Cancelled, "storing " + name + " was stopped");
        size_t filled = 0;
        while (filled < buffer.size()) {
            const ssize_t n = ::read(in.fd, buffer.data() + filled, buffer.size() - filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return IoError("reading", file);
            if (n == 0)
                break;
            filled += static_cast<size_t>(n);
        }
        if (filled == 0 && seq > 0)
            break;
        const std::string number = std::to_string(seq);
        auto chunk = Run(session, insert,
                         {TextParam(key),
                          {number.c_str(), static_cast<int>(number.size()), 0, false},
                          {buffer.data(), static_cast<int>(filled), kBytea, true}},
                         "storing " + name);
        if (!chunk.ok())
            return chunk.status();
        size += static_cast<std::int64_t>(filled);
        if (filled < buffer.size())
            break;
    }
    const std::string sizeText = std::to_string(size);
    auto sized = Run(session,
                     "UPDATE " + QuoteIdentifier(table_.name) + " SET \"Size\" = $2 WHERE " +
                         keyColumn + " = $1",
                     {TextParam(key), {sizeText.c_str(), 0, kInt8, false}}, "storing " + name);
    if (!sized.ok())
        return sized.status();
    s = tx.Commit();
    if (!s.ok())
        return s;
    return true;
}

Result<std::optional<ChunkedFiles::Stored>> ChunkedFiles::Find(const std::string& key) {
    Status s = NeedServer(connection_);
    if (!s.ok())
        return s;
    auto r = Run(*connection_.Server(),
                 "SELECT \"FileName\", \"Size\" FROM " + QuoteIdentifier(table_.name) + " WHERE " +
                     QuoteIdentifier(table_.keyColumn) + " = $1",
                 {TextParam(key)}, "looking for a stored file");
    if (!r.ok())
        return r.status();
    PGresult* res = r.value().get();
    if (PQntuples(res) == 0)
        return std::optional<Stored>();
    return std::optional<Stored>(
        Stored{PQgetvalue(res, 0, 0), std::strtoll(PQgetvalue(res, 0, 1), nullptr, 10)});
}

Status ChunkedFiles::Fetch(const std::string& key, const std::filesystem::path& to) {
    Status s = NeedServer(connection_);
    if (!s.ok())
        return s;
    PgSession& session = *connection_.Server();
    // One snapshot for the size and every chunk, so a file removed meanwhile
    // reads whole or not at all.
    s = connection_.Exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", "reading a file");
    if (!s.ok())
        return s;
    struct Close {
        Connection& c;
        ~Close() { c.Rollback(); }
    } close{connection_};
    auto found = Find(key);
    if (!found.ok())
        return found.status();
    if (!found.value())
        return Status(ErrorCode::NoCurrentRecord, "no stored file " + key);
    std::error_code ec;
    std::filesystem::remove(to, ec);
    Fd out;
    out.fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (out.fd < 0)
        return IoError("writing", to);
    auto fail = [&](Status st) {
        std::filesystem::remove(to, ec);
        return st;
    };
    // Chunk by chunk: one chunk in memory at a time.
    const std::string select = "SELECT \"Data\" FROM " + QuoteIdentifier(table_.ChunkTable()) +
                               " WHERE " + QuoteIdentifier(table_.keyColumn) +
                               " = $1 AND \"Seq\" = $2";
    std::int64_t written = 0;
    for (int seq = 0; written < found.value()->size || seq == 0; ++seq) {
        const std::string number = std::to_string(seq);
        auto r = Run(session, select,
                     {TextParam(key), {number.c_str(), static_cast<int>(number.size()), 0, false}},
                     "reading " + found.value()->name, true);
        if (!r.ok())
            return fail(r.status());
        PGresult* res = r.value().get();
        if (PQntuples(res) != 1)
            break;
        const char* data = PQgetvalue(res, 0, 0);
        const size_t length = static_cast<size_t>(PQgetlength(res, 0, 0));
        for (size_t done = 0; done < length;) {
            const ssize_t n = ::write(out.fd, data + done, length - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(IoError("writing", to));
            done += static_cast<size_t>(n);
        }
        written += static_cast<std::int64_t>(length);
        if (length == 0)
            break;
    }
    if (written != found.value()->size)
        return fail(Status(ErrorCode::Damaged, "the stored file " + found.value()->name + " has " +
                                                   std::to_string(written) + " bytes, not " +
                                                   std::to_string(found.value()->size)));
    if (::fsync(out.fd) != 0)
        return fail(IoError("writing", to));
    return Status::Ok();
}

Result<std::set<std::string>> ChunkedFiles::Keys() {
    Status s = NeedServer(connection_);
    if (!s.ok())
        return s;
    auto r =
        Run(*connection_.Server(),
            "SELECT " + QuoteIdentifier(table_.keyColumn) + " FROM " + QuoteIdentifier(table_.name),
            {}, "listing stored files");
    if (!r.ok())
        return r.status();
    std::set<std::string> keys;
    for (int i = 0; i < PQntuples(r.value().get()); ++i)
        keys.insert(PQgetvalue(r.value().get(), i, 0));
    return keys;
}

Status ChunkedFiles::Remove(const std::string& key) {
    Status s = NeedServer(connection_);
    if (!s.ok())
        return s;
    auto r = Run(*connection_.Server(),
                 "DELETE FROM " + QuoteIdentifier(table_.name) + " WHERE " +
                     QuoteIdentifier(table_.keyColumn) + " = $1",
                 {TextParam(key)}, "removing a stored file");
    return r.ok() ? Status::Ok() : r.status();
}

}  // namespace storage
