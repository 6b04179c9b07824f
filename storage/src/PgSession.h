#pragma once
// One session with a PostgreSQL server (private to the storage layer): the
// connection, the mapping of the server's errors, and the data version that
// tells a record set whether another session changed the tables since its
// last query (as SQLite's data_version does for a file).

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "storage/Result.h"

namespace storage {

class PgSession {
public:
    // A URI with a password is refused before any connection is tried: the
    // password belongs in libpq's password file, never in the settings.
    static Result<std::unique_ptr<PgSession>> Connect(const std::string& uri, int lockTimeoutMs);
    // The same refusal alone (a URI that cannot be read, or one with a password).
    static Status CheckUri(const std::string& uri);
    // The connection parameters every session of the layer uses: libpq's
    // time-outs and keepalives, the program's name, UTF-8, then `uri`'s own
    // values. Null-terminated; `uri` must outlive them.
    struct Parameters {
        const char* keys[8];
        const char* values[8];
    };
    static Parameters ParametersFor(const std::string& uri);
    ~PgSession();
    PgSession(const PgSession&) = delete;
    PgSession& operator=(const PgSession&) = delete;

    PGconn* Conn() const { return conn_; }
    const std::string& Name() const { return name_; }
    bool ReadOnly() const { return readOnly_; }
    bool InTransaction() const;

    // The status of a finished command (a null result is a lost connection).
    Status StatusFor(const PGresult* result, const std::string& what) const;
    // Waits for the answer to a command sent with PQsend* (`sent` is what
    // that returned): the last result, or null when the command could not be
    // sent or the session was lost. A server that does not answer within the
    // deadline is cut off (the session is then lost, so later commands fail
    // at once), so that nobody waits on a hung server for ever.
    PGresult* Await(int sent);
    // How long Await waits; 0 waits as long as the server takes (upgrades
    // of the schema, which may build indexes over many rows).
    void SetDeadline(int ms) { deadlineMs_ = ms; }
    // Back to the deadline the session was opened with.
    void RestoreDeadline();
    // Runs commands without parameters or results.
    Status Exec(const std::string& sql, const std::string& what);
    // Every finished command passes here, so that own writes are counted.
    void Note(const PGresult* result);

    Result<std::int64_t> DataVersion();
    // True when this session may insert, change and delete rows of `table`.
    Result<bool> CanWrite(const std::string& table);

    std::int64_t Changes() const { return changes_; }
    std::string NextStatementName() { return "vt_s" + std::to_string(++statements_); }
    // The first field of the first row of a query without parameters.
    Result<std::string> QueryOne(const std::string& sql, const std::string& what);

private:
    PgSession(PGconn* conn, std::string name) : conn_(conn), name_(std::move(name)) {}

    // False when the answer did not come in time (the socket is then shut).
    bool WaitUntilReady(std::chrono::steady_clock::time_point deadline);

    PGconn* conn_;
    std::string name_;
    int deadlineMs_ = 0;
    bool cutOff_ = false;     // the server missed a deadline
    bool missedNow_ = false;  // in the last command
    bool readOnly_ = false;
    bool counted_ = false;       // the server keeps the change counter
    std::int64_t own_ = 0;       // own committed transactions that changed rows
    bool pendingWrite_ = false;  // the open transaction changed rows
    std::int64_t unknown_ = 0;   // without a counter every version is new
    std::int64_t changes_ = 0;
    unsigned statements_ = 0;
};

// The name of the table that counts committed changes, and the trigger that
// keeps it (created by the server schema of the program).
inline constexpr const char* kChangeCounterTable = "vt_change";

}  // namespace storage
