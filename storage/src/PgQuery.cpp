#include "PgQuery.h"

#include <charconv>
#include <cstdlib>

namespace storage {

namespace {

// Type numbers of the server's built-in types (pg_type.dat).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

Value::Kind KindOf(Oid type) {
    switch (type) {
        case kBool:
        case kInt8:
        case kInt2:
        case kInt4:
        case kOid:
            return Value::Kind::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return Value::Kind::Real;
        default:
            return Value::Kind::Text;
    }
}

}  // namespace

std::string NumberPlaceholders(const std::string& sql, int& count) {
    std::string out;
    out.reserve(sql.size() + 16);
    count = 0;
    char quote = 0;
    for (char c : sql) {
        if (quote) {
            if (c == quote)
                quote = 0;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '?') {
            out += "$" + std::to_string(++count);
        } else {
            out += c;
        }
    }
    return out;
}

PgQuery::PgQuery(PgSession& session, const std::string& sql) : session_(session) {
    sql_ = NumberPlaceholders(sql, params_);
    values_.resize(static_cast<size_t>(params_));
    types_.assign(static_cast<size_t>(params_), 0);
}

PgQuery::~PgQuery() {
    PQclear(result_);
    // A session in a failed transaction refuses this; the name then stays
    // until the session ends, which is harmless.
    if (!name_.empty() && PQstatus(session_.Conn()) == CONNECTION_OK &&
        PQtransactionStatus(session_.Conn()) != PQTRANS_INERROR)
        PQclear(session_.Await(PQsendQuery(session_.Conn(), ("DEALLOCATE " + name_).c_str())));
}

Status PgQuery::Bind(int index, const Value& value) {
    if (index < 1 || index > params_)
        return Status(ErrorCode::InvalidArgument, "no value number " + std::to_string(index));
    const size_t i = static_cast<size_t>(index - 1);
    // Whole and real numbers are typed, so that a comparison with a literal
    // means the same as in SQLite; texts and Null take the type the
    // statement gives them (a date column reads the date text).
    switch (value.kind()) {
        case Value::Kind::Null:
            values_[i].reset();
            types_[i] = 0;
            break;
        case Value::Kind::Integer:
            values_[i] = std::to_string(value.AsInteger());
            types_[i] = kInt8;
            break;
        case Value::Kind::Real: {
            char buffer[64];
            auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.AsReal());
            values_[i] = std::string(buffer, end);
            types_[i] = kFloat8;
            break;
        }
        case Value::Kind::Text:
            values_[i] = value.AsText();
            types_[i] = 0;
            break;
    }
    return Status::Ok();
}

Status PgQuery::Execute() {
    PGconn* conn = session_.Conn();
    std::vector<const char*> values(values_.size());
    for (size_t i = 0; i < values_.size(); ++i)
        values[i] = values_[i] ? values_[i]->c_str() : nullptr;
    PGresult* r = nullptr;
    ++runs_;
    if (runs_ == 1) {
        r = session_.Await(PQsendQueryParams(conn, sql_.c_str(), params_, types_.data(),
                                             values.data(), nullptr, nullptr, 0));
    } else {
        if (name_.empty() || preparedTypes_ != types_) {
            const std::string name = session_.NextStatementName();
            PGresult* p = session_.Await(
                PQsendPrepare(conn, name.c_str(), sql_.c_str(), params_, types_.data()));
            const bool ok = p && PQresultStatus(p) == PGRES_COMMAND_OK;
            Status s = ok ? Status::Ok() : session_.StatusFor(p, "preparing a query");
            PQclear(p);
            if (!ok)
                return s;
            if (!name_.empty())
                PQclear(session_.Await(PQsendQuery(conn, ("DEALLOCATE " + name_).c_str())));
            name_ = name;
            preparedTypes_ = types_;
        }
        r = session_.Await(
            PQsendQueryPrepared(conn, name_.c_str(), params_, values.data(), nullptr, nullptr, 0));
    }
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        Status s = session_.StatusFor(r, "running a query");
        PQclear(r);
        return s;
    }
    session_.Note(r);
    result_ = r;
    kinds_.resize(static_cast<size_t>(PQnfields(r)));
    for (int c = 0; c < PQnfields(r); ++c) kinds_[static_cast<size_t>(c)] = KindOf(PQftype(r, c));
    row_ = -1;
    return Status::Ok();
}

Result<bool> PgQuery::Step() {
    if (!result_) {
        Status s = Execute();
        if (!s.ok())
            return s;
    }
    if (row_ + 1 < PQntuples(result_)) {
        ++row_;
        return true;
    }
    row_ = PQntuples(result_);
    return false;
}

void PgQuery::Reset() {
    PQclear(result_);
    result_ = nullptr;
    row_ = -1;
    for (auto& v : values_) v.reset();
    types_.assign(types_.size(), 0);
}

int PgQuery::ColumnCount() const {
    return result_ ? PQnfields(result_) : 0;
}

std::int64_t PgQuery::ColumnInteger(int index) const {
    if (!result_ || row_ < 0 || row_ >= PQntuples(result_) || PQgetisnull(result_, row_, index))
        return 0;
    const char* text = PQgetvalue(result_, row_, index);
    if (text[0] == 't' || text[0] == 'f')
        return text[0] == 't';
    std::int64_t v = 0;
    std::from_chars(text, text + PQgetlength(result_, row_, index), v);
    return v;
}

Value PgQuery::Column(int index) const {
    if (!result_ || row_ < 0 || row_ >= PQntuples(result_) || PQgetisnull(result_, row_, index))
        return Value();
    switch (kinds_[static_cast<size_t>(index)]) {
        case Value::Kind::Integer:
            return Value(ColumnInteger(index));
        case Value::Kind::Real:
            return Value(std::strtod(PQgetvalue(result_, row_, index), nullptr));
        default:
            return Value(std::string(PQgetvalue(result_, row_, index),
                                     static_cast<size_t>(PQgetlength(result_, row_, index))));
    }
}

}  // namespace storage
