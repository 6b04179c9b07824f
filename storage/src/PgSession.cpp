#include "PgSession.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include "storage/Connection.h"
#include "storage/Dialect.h"
#include "storage/TableSchema.h"

namespace storage {

namespace {

std::atomic<int> answerDeadlineMs{30000};

ErrorCode CodeForState(const char* state) {
    if (!state || std::strlen(state) != 5)
        return ErrorCode::Engine;
    const std::string s(state);
    if (s == "42501" || s == "25006")
        return ErrorCode::ReadOnly;
    if (s == "55P03" || s == "40P01" || s == "40001" || s == "57014")
        return ErrorCode::Busy;
    if (s == "53100")
        return ErrorCode::DiskFull;
    if (s == "XX001" || s == "XX002")
        return ErrorCode::Damaged;
    if (s.starts_with("08") || s.starts_with("57P") || s == "58030")
        return ErrorCode::Io;
    if (s.starts_with("23") || s.starts_with("22"))
        return ErrorCode::InvalidValue;
    return ErrorCode::Engine;
}

// The first line of a libpq message.
std::string FirstLine(const char* text) {
    std::string s = text ? text : "";
    s = s.substr(0, s.find('\n'));
    return s.empty() ? "the server did not answer" : s;
}

bool StartsWith(const char* text, const char* prefix) {
    return text && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

Status PgSession::CheckUri(const std::string& uri) {
    const std::string name = DisplayName(uri);
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
    if (!options) {
        Status s(ErrorCode::InvalidArgument,
                 "the database URI " + name + " cannot be read: " + FirstLine(error));
        PQfreemem(error);
        return s;
    }
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::strcmp(o->keyword, "password") == 0 && o->val && *o->val)
            password = true;
    PQconninfoFree(options);
    if (password)
        return Status(ErrorCode::InvalidArgument,
                      "the database URI " + name +
                          " carries a password; keep it in ~/.pgpass (or PGPASSFILE) instead");
    return Status::Ok();
}

PgSession::Parameters PgSession::ParametersFor(const std::string& uri) {
    // The URI's own values win over the time-outs; the encoding is ours.
    return Parameters{
        {"connect_timeout", "keepalives_idle", "keepalives_interval", "tcp_user_timeout",
         "fallback_application_name", "dbname", "client_encoding", nullptr},
        {"10", "10", "5", "15000", "vantelo", uri.c_str(), "UTF8", nullptr}};
}

Result<std::unique_ptr<PgSession>> PgSession::Connect(const std::string& uri, int lockTimeoutMs) {
    const std::string name = DisplayName(uri);
    if (Status checked = CheckUri(uri); !checked.ok())
        return checked;
    const Parameters p = ParametersFor(uri);
    PGconn* conn = PQconnectdbParams(p.keys, p.values, 1);
    if (!conn)
        return Status(ErrorCode::Io, "connecting to " + name + ": out of memory");
    if (PQstatus(conn) != CONNECTION_OK) {
        Status s(ErrorCode::Io, "connecting to " + name + ": " + FirstLine(PQerrorMessage(conn)));
        PQfinish(conn);
        return s;
    }
    std::unique_ptr<PgSession> session(new PgSession(conn, name));
    session->RestoreDeadline();
    // Dates come back in the stored form "YYYY-MM-DD HH:MM:SS"; a lock held
    // by another desk is waited for as long as SQLite waits for a file lock.
    Status s = session->Exec(
        "SET datestyle = 'ISO, YMD'; SET client_min_messages = warning; "
        "SET lock_timeout = " +
            std::to_string(lockTimeoutMs > 0 ? lockTimeoutMs : 1),
        "setting up the session");
    if (!s.ok())
        return s;
    Result<std::string> ro = session->QueryOne("SHOW transaction_read_only", "opening");
    if (!ro.ok())
        return ro.status();
    session->readOnly_ = ro.value() == "on";
    // A role that may not read the counter re-queries every time instead.
    const std::string counterTable = kChangeCounterTable;
    Result<std::string> counter =
        session->QueryOne("SELECT coalesce(has_table_privilege(to_regclass('" + counterTable +
                              "'), 'SELECT'), false)",
                          "opening");
    if (!counter.ok())
        return counter.status();
    session->counted_ = counter.value() == "t";
    return session;
}

void SetServerAnswerDeadline(int ms) {
    answerDeadlineMs = ms;
}

void PgSession::RestoreDeadline() {
    deadlineMs_ = answerDeadlineMs;
}

PgSession::~PgSession() {
    PQfinish(conn_);
}

bool PgSession::InTransaction() const {
    return PQtransactionStatus(conn_) != PQTRANS_IDLE;
}

Status PgSession::StatusFor(const PGresult* result, const std::string& what) const {
    if (!result && cutOff_)
        return Status(ErrorCode::Io,
                      what + " in " + name_ + ": " +
                          (missedNow_ ? "the server did not answer within " +
                                            std::to_string(deadlineMs_ / 1000.0).substr(0, 4) + " s"
                                      : std::string("the session was given up earlier, when the "
                                                    "server did not answer")));
    if (!result)
        return Status(ErrorCode::Io,
                      what + " in " + name_ + ": " + FirstLine(PQerrorMessage(conn_)));
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    ErrorCode code = CodeForState(state);
    if (PQstatus(conn_) == CONNECTION_BAD)
        code = ErrorCode::Io;
    std::string detail = primary ? primary : FirstLine(PQresultErrorMessage(result));
    if (code == ErrorCode::ReadOnly)
        detail += " (the role may only read)";
    return Status(code, what + " in " + name_ + ": " + detail);
}

void PgSession::Note(const PGresult* result) {
    const char* command = PQcmdStatus(const_cast<PGresult*>(result));
    const char* tuples = PQcmdTuples(const_cast<PGresult*>(result));
    changes_ = 0;
    if (tuples && *tuples)
        std::from_chars(tuples, tuples + std::strlen(tuples), changes_);
    if (StartsWith(command, "INSERT") || StartsWith(command, "UPDATE") ||
        StartsWith(command, "DELETE")) {
        if (changes_ > 0) {
            if (InTransaction())
                pendingWrite_ = true;
            else
                ++own_;
        }
    } else if (StartsWith(command, "COMMIT")) {
        own_ += pendingWrite_ ? 1 : 0;
        pendingWrite_ = false;
    } else if (StartsWith(command, "ROLLBACK")) {
        pendingWrite_ = false;
    }
}

bool PgSession::WaitUntilReady(std::chrono::steady_clock::time_point deadline) {
    while (PQisBusy(conn_)) {
        int wait = -1;
        if (deadlineMs_ > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::max<long long>(left.count(), 0));
        }
        pollfd p{PQsocket(conn_), POLLIN, 0};
        const int n = wait == 0 ? 0 : ::poll(&p, 1, wait);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) {
            // Cut off: libpq then finds the connection closed and fails at once.
            cutOff_ = missedNow_ = true;
            ::shutdown(PQsocket(conn_), SHUT_RDWR);
            (void)PQconsumeInput(conn_);
            return false;
        }
        if (n < 0 || !PQconsumeInput(conn_))
            return false;
    }
    return true;
}

PGresult* PgSession::Await(int sent) {
    missedNow_ = false;
    if (!sent)
        return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs_);
    PGresult* last = nullptr;
    // As PQexec: the last result, or the first error (the server runs no
    // further command of the text after it).
    while (WaitUntilReady(deadline)) {
        PGresult* r = PQgetResult(conn_);
        if (!r)
            return last;
        PQclear(last);
        last = r;
    }
    PQclear(last);
    // Whatever the session still holds is lost with it.
    while (PGresult* r = PQgetResult(conn_)) PQclear(r);
    return nullptr;
}

Status PgSession::Exec(const std::string& sql, const std::string& what) {
    PGresult* r = Await(PQsendQuery(conn_, sql.c_str()));
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    Status s = st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK ? Status::Ok() : StatusFor(r, what);
    if (s.ok())
        Note(r);
    PQclear(r);
    return s;
}

Result<std::string> PgSession::QueryOne(const std::string& sql, const std::string& what) {
    PGresult* r = Await(PQsendQuery(conn_, sql.c_str()));
    if (!r || PQresultStatus(r) != PGRES_TUPLES_OK || PQntuples(r) != 1) {
        Status s = StatusFor(r, what);
        PQclear(r);
        return s;
    }
    std::string v = PQgetvalue(r, 0, 0);
    PQclear(r);
    return v;
}

Result<std::int64_t> PgSession::DataVersion() {
    if (!counted_)
        return --unknown_;
    Result<std::string> v = QueryOne(std::string("SELECT version FROM ") + kChangeCounterTable,
                                     "reading the data version");
    if (!v.ok())
        return v.status();
    std::int64_t total = 0;
    std::from_chars(v.value().data(), v.value().data() + v.value().size(), total);
    // Own commits do not count, as with SQLite's data_version. The counter
    // moves once per committed transaction that changed rows (a deferred
    // trigger), so a rolled-back one moves neither it nor own_.
    return total - own_;
}

Result<bool> PgSession::CanWrite(const std::string& table) {
    if (readOnly_)
        return false;
    const std::string quoted = QuoteIdentifier(table);
    const char* values[] = {quoted.c_str()};
    PGresult* r = Await(PQsendQueryParams(conn_,
                                          "SELECT coalesce(has_table_privilege(c, 'INSERT') AND "
                                          "has_table_privilege(c, 'UPDATE') AND "
                                          "has_table_privilege(c, 'DELETE'), false) "
                                          "FROM (SELECT to_regclass($1) AS c) AS t",
                                          1, nullptr, values, nullptr, nullptr, 0));
    if (!r || PQresultStatus(r) != PGRES_TUPLES_OK || PQntuples(r) != 1) {
        Status s = StatusFor(r, "reading the rights of the role");
        PQclear(r);
        return s;
    }
    const bool can = std::strcmp(PQgetvalue(r, 0, 0), "t") == 0;
    PQclear(r);
    return can;
}

}  // namespace storage
