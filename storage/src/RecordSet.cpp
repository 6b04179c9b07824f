#include "storage/RecordSet.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "Statement.h"
#include "platform/Translate.h"

namespace storage {

namespace {

constexpr const char* kContext = "storage";

Status NoSuchField(const std::string& table, std::string_view field) {
    return Status(
        ErrorCode::UnknownField,
        vt::Translate(kContext,
                      QT_TRANSLATE_NOOP("storage", "테이블 %1에는 필드 %2이(가) 없습니다"),
                      {table, std::string(field)}));
}

// One query result: the record numbers in record-set order, and the state of
// the file it was taken at.
struct Keyset {
    bool valid = false;
    std::string key;  // the filter text
    std::vector<std::int64_t> rows;
    std::int64_t dataVersion = 0;
    std::uint64_t serial = 0;  // own-write count at which it was exact
};

enum class EditMode { None, Adding, Editing };

// The filter's order, with the record number breaking ties so the order is total.
std::string OrderByThenRowid(const Filter& f) {
    return " ORDER BY " + (f.OrderBySql().empty() ? std::string() : f.OrderBySql() + ", ") +
           "rowid";
}

}  // namespace

struct RecordSet::Impl {
    std::unique_ptr<Connection> connection;
    RecordSetType type = RecordSetType::Dynaset;
    Filter filter;

    Keyset active;
    Keyset spare;  // the result of the filter before, for a quick return to it
    std::vector<std::int64_t> pendingInserts;
    bool activeDirty = false;  // an own edit may have changed membership or order
    std::uint64_t writeSerial = 0;

    bool readOnly = false;  // the file, or the role on the server, takes no writes
    long pos = -1;
    bool currentDeleted = false;

    long cachedPos = -1;
    std::int64_t cachedRow = 0;
    std::vector<Value> row;

    EditMode mode = EditMode::None;
    std::int64_t editRow = 0;
    std::vector<Value> buffer;
    std::vector<bool> changed;
    std::int64_t lastModified = 0;

    Statement fetch;
    Statement insert;

    long Count() const { return static_cast<long>(active.rows.size()); }
    bool ActiveClean() const { return active.serial == writeSerial && !activeDirty; }
    void MoveTo(long position) {
        pos = position;
        currentDeleted = false;
    }
};

RecordSet::RecordSet(TableSchema schema) : schema_(std::move(schema)), impl_(new Impl) {}

RecordSet::~RecordSet() = default;

Status RecordSet::Open(const std::filesystem::path& database, RecordSetType type,
                       int busyTimeoutMs) {
    Close();
    Result<std::unique_ptr<Connection>> c =
        Connection::Open(database, Connection::Mode::ReadWrite, busyTimeoutMs);
    if (!c.ok())
        return c.status();
    impl_->connection = std::move(c).value();
    impl_->type = type;
    Result<bool> writable = impl_->connection->CanWrite(schema_.name);
    if (!writable.ok()) {
        Close();
        return writable.status();
    }
    impl_->readOnly = !writable.value();
    // A filter set before Open was read for SQLite.
    const Dialect dialect = impl_->connection->GetDialect();
    if (impl_->filter.GetDialect() != dialect) {
        Result<Filter> f = Filter::Parse(impl_->filter.Text(), schema_, dialect);
        impl_->filter = f.ok() ? std::move(f).value() : Filter();
    }

    std::string cols, marks;
    for (const Column& col : schema_.columns) {
        if (!cols.empty())
            cols += ", ";
        cols += QuoteIdentifier(col.name);
    }
    Result<Statement> fetch = Statement::Prepare(
        *impl_->connection,
        "SELECT " + cols + " FROM " + QuoteIdentifier(schema_.name) + " WHERE rowid = ?");
    if (!fetch.ok()) {
        Close();
        return fetch.status();
    }
    impl_->fetch = std::move(fetch).value();

    std::string insertCols;
    for (const Column& col : schema_.columns) {
        if (col.type == ColumnType::AutoNumber)
            continue;
        if (!insertCols.empty())
            insertCols += ", ", marks += ", ";
        insertCols += QuoteIdentifier(col.name);
        marks += "?";
    }
    // The server hands the new record number back from the insert itself.
    const std::string returning = dialect == Dialect::PostgreSQL ? " RETURNING rowid" : "";
    Result<Statement> insert = Statement::Prepare(
        *impl_->connection, "INSERT INTO " + QuoteIdentifier(schema_.name) + " (" + insertCols +
                                ") VALUES (" + marks + ")" + returning);
    if (!insert.ok()) {
        Close();
        return insert.status();
    }
    impl_->insert = std::move(insert).value();

    Status s = Requery();
    if (!s.ok())
        Close();
    return s;
}

void RecordSet::Close() {
    Impl fresh;
    std::swap(*impl_, fresh);  // statements finalise before their connection closes below
    fresh.fetch = Statement();
    fresh.insert = Statement();
}

bool RecordSet::IsOpen() const {
    return impl_->connection != nullptr;
}

Connection* RecordSet::GetConnection() {
    return impl_->connection.get();
}

Status RecordSet::RequireOpen() const {
    return IsOpen() ? Status::Ok()
                    : Status(ErrorCode::NotOpen,
                             vt::Translate(
                                 kContext,
                                 QT_TRANSLATE_NOOP("storage", "레코드 집합이 열려 있지 않습니다")));
}

// A write is refused before any field is typed in when the file is read-only.
Status RecordSet::RequireWritable() const {
    Status s = RequireOpen();
    if (s.ok() && impl_->readOnly)
        return Status(
            ErrorCode::ReadOnly,
            impl_->connection->GetDialect() == Dialect::PostgreSQL
                ? vt::Translate(
                      kContext,
                      QT_TRANSLATE_NOOP("storage",
                                        "%1은(는) 읽기 전용으로 열렸습니다: 이 역할은 테이블 "
                                        "%2을(를) 바꿀 수 없습니다; 아무것도 바꾸지 않았습니다"),
                      {DisplayName(impl_->connection->File().native()), schema_.name})
                : vt::Translate(
                      kContext,
                      QT_TRANSLATE_NOOP("storage",
                                        "%1은(는) 읽기 전용으로 열렸습니다: 파일이나 그 폴더에 쓸 "
                                        "수 없습니다; 아무것도 바꾸지 않았습니다"),
                      {impl_->connection->File().string()}));
    return s;
}

Status RecordSet::SetFilter(std::string_view text) {
    if (impl_->type == RecordSetType::Table && IsOpen() && !text.empty())
        return Status(ErrorCode::InvalidArgument, "a table record set takes no filter");
    Result<Filter> f =
        Filter::Parse(text, schema_, IsOpen() ? impl_->connection->GetDialect() : Dialect::SQLite);
    if (!f.ok())
        return f.status();
    impl_->filter = std::move(f).value();
    return Status::Ok();
}

const std::string& RecordSet::GetFilter() const {
    return impl_->filter.Text();
}

Status RecordSet::FullQuery() {
    Impl& m = *impl_;
    const Filter& f = m.filter;
    std::string sql = "SELECT rowid FROM " + QuoteIdentifier(schema_.name);
    if (!f.WhereSql().empty())
        sql += " WHERE " + f.WhereSql();
    sql += OrderByThenRowid(f);
    Result<Statement> st = Statement::Prepare(*m.connection, sql);
    if (!st.ok())
        return st.status();
    Statement& q = st.value();
    Status s = q.BindAll(f.Binds());
    if (!s.ok())
        return s;
    Keyset fresh;
    fresh.rows.reserve(m.active.rows.size());
    while (true) {
        Result<bool> r = q.Step();
        if (!r.ok())
            return r.status();
        if (!r.value())
            break;
        std::int64_t id = q.ColumnInteger(0);
        // Without an order of its own the scan runs in record-number order;
        // a step back means the table's pages are damaged.
        if (f.OrderBySql().empty() && !fresh.rows.empty() && id <= fresh.rows.back())
            return Status(
                ErrorCode::Damaged,
                vt::Translate(kContext,
                              QT_TRANSLATE_NOOP(
                                  "storage", "%2의 테이블 %1이(가) 레코드를 순서 없이 나열합니다"),
                              {schema_.name, m.connection->File().string()}));
        fresh.rows.push_back(id);
    }
    if (m.active.valid && m.ActiveClean())
        m.spare = std::move(m.active);
    fresh.valid = true;
    fresh.key = f.Text();
    fresh.serial = m.writeSerial;
    m.active = std::move(fresh);
    m.pendingInserts.clear();
    m.activeDirty = false;
    return Status::Ok();
}

// Records added here since the last query: keep the result when they all sort
// after the last record of it, checking only them against the filter.
bool RecordSet::ReconcileInserts(bool& done) {
    Impl& m = *impl_;
    done = false;
    std::vector<std::int64_t>& rows = m.active.rows;
    for (std::int64_t id : m.pendingInserts) {
        auto it = std::find(rows.rbegin(), rows.rend(), id);
        if (it != rows.rend())
            rows.erase(std::next(it).base());
    }
    std::vector<std::int64_t> probe;
    if (!rows.empty())
        probe.push_back(rows.back());
    probe.insert(probe.end(), m.pendingInserts.begin(), m.pendingInserts.end());
    std::string marks;
    for (size_t i = 0; i < probe.size(); ++i) marks += i ? ", ?" : "?";
    const Filter& f = m.filter;
    std::string sql =
        "SELECT rowid FROM " + QuoteIdentifier(schema_.name) + " WHERE rowid IN (" + marks + ")";
    if (!f.WhereSql().empty())
        sql += " AND " + f.WhereSql();
    sql += OrderByThenRowid(f);
    Result<Statement> st = Statement::Prepare(*m.connection, sql);
    if (!st.ok())
        return false;
    Statement& q = st.value();
    for (size_t i = 0; i < probe.size(); ++i)
        if (!q.Bind(static_cast<int>(i) + 1, Value(probe[i])).ok())
            return false;
    if (!q.BindAll(f.Binds(), static_cast<int>(probe.size()) + 1).ok())
        return false;
    std::vector<std::int64_t> found;
    while (true) {
        Result<bool> r = q.Step();
        if (!r.ok())
            return false;
        if (!r.value())
            break;
        found.push_back(q.ColumnInteger(0));
    }
    size_t first = 0;
    if (!rows.empty()) {
        if (found.empty() || found.front() != rows.back())
            return false;
        first = 1;
    }
    rows.insert(rows.end(), found.begin() + static_cast<long>(first), found.end());
    m.pendingInserts.clear();
    m.active.serial = m.writeSerial;
    done = true;
    return true;
}

Status RecordSet::Requery() {
    Status s = RequireOpen();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    CancelUpdate();
    Result<std::int64_t> dv = m.connection->DataVersion();
    if (!dv.ok())
        return dv.status();
    const std::string& key = m.filter.Text();

    bool reused = false;
    if (m.active.valid && m.active.key == key && m.active.dataVersion == dv.value() &&
        !m.activeDirty) {
        if (m.active.serial == m.writeSerial) {
            reused = true;
        } else if (!m.pendingInserts.empty() && m.pendingInserts.size() <= 256) {
            ReconcileInserts(reused);
        }
    }
    if (!reused && m.spare.valid && m.spare.key == key && m.spare.dataVersion == dv.value() &&
        m.spare.serial == m.writeSerial) {
        bool oldClean = m.active.valid && m.ActiveClean();
        std::swap(m.active, m.spare);
        if (!oldClean)
            m.spare.valid = false;
        m.pendingInserts.clear();
        m.activeDirty = false;
        reused = true;
    }
    if (!reused) {
        s = FullQuery();
        if (!s.ok()) {
            m.active = Keyset{};
            m.pos = -1;
            return s;
        }
    }
    m.active.dataVersion = dv.value();
    m.pos = m.active.rows.empty() ? -1 : 0;
    m.currentDeleted = false;
    m.cachedPos = -1;
    return Status::Ok();
}

// Every move needs an open set and drops an edit in progress.
Status RecordSet::BeginMove() {
    Status s = RequireOpen();
    if (s.ok())
        CancelUpdate();
    return s;
}

Status RecordSet::MoveToEnd(bool last) {
    Status s = BeginMove();
    if (!s.ok())
        return s;
    if (impl_->Count() == 0)
        return Status(
            ErrorCode::NoCurrentRecord,
            vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "레코드 집합이 비어 있습니다")));
    impl_->MoveTo(last ? impl_->Count() - 1 : 0);
    return Status::Ok();
}

Status RecordSet::MoveFirst() {
    return MoveToEnd(false);
}

Status RecordSet::MoveLast() {
    return MoveToEnd(true);
}

Status RecordSet::MoveNext() {
    Status s = BeginMove();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    // After a delete the following record already stands at this position.
    if (m.currentDeleted) {
        m.currentDeleted = false;
        return Status::Ok();
    }
    if (m.Count() == 0 || m.pos >= m.Count())
        return Status(ErrorCode::NoCurrentRecord, "MoveNext at the end of the record set");
    ++m.pos;
    return Status::Ok();
}

Status RecordSet::MovePrev() {
    Status s = BeginMove();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    // After a delete the record before the deleted one is one step back, and
    // when the deleted record was the first (or the last remaining one) the
    // step lands on BOF: emptying a table from its end must not fail.
    if (m.currentDeleted) {
        m.currentDeleted = false;
        m.pos = std::min(m.pos, m.Count()) - 1;
        return Status::Ok();
    }
    if (m.Count() == 0 || m.pos < 0)
        return Status(ErrorCode::NoCurrentRecord, "MovePrev at the start of the record set");
    --m.pos;
    return Status::Ok();
}

Status RecordSet::SetAbsolutePosition(long position) {
    Status s = BeginMove();
    if (!s.ok())
        return s;
    if (position < 0 || position >= impl_->Count())
        return Status(ErrorCode::NoCurrentRecord, "no record at position " +
                                                      std::to_string(position) + " of " +
                                                      std::to_string(impl_->Count()));
    impl_->MoveTo(position);
    return Status::Ok();
}

long RecordSet::GetAbsolutePosition() const {
    const Impl& m = *impl_;
    if (m.currentDeleted || m.pos < 0 || m.pos >= m.Count())
        return -1;
    return m.pos;
}

bool RecordSet::IsEOF() const {
    return impl_->Count() == 0 || impl_->pos >= impl_->Count();
}

bool RecordSet::IsBOF() const {
    return impl_->Count() == 0 || impl_->pos < 0;
}

long RecordSet::GetRecordCount() const {
    return impl_->Count();
}

Status RecordSet::RequireCurrent() const {
    Status s = RequireOpen();
    if (!s.ok())
        return s;
    if (GetAbsolutePosition() < 0)
        return Status(
            ErrorCode::NoCurrentRecord,
            impl_->currentDeleted
                ? vt::Translate(kContext,
                                QT_TRANSLATE_NOOP("storage", "현재 레코드가 지워졌습니다"))
                : vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "현재 레코드가 없습니다")));
    return Status::Ok();
}

Status RecordSet::FetchCurrent() {
    Status s = RequireCurrent();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    std::int64_t id = m.active.rows[m.pos];
    if (m.cachedPos == m.pos && m.cachedRow == id)
        return Status::Ok();
    m.fetch.Reset();
    s = m.fetch.Bind(1, Value(id));
    if (!s.ok())
        return s;
    Result<bool> r = m.fetch.Step();
    if (!r.ok())
        return r.status();
    if (!r.value()) {
        m.fetch.Reset();
        // Gone without any other program's commit since the query: the file
        // listed a record it cannot give, so it is damaged.
        Result<std::int64_t> dv = m.connection->DataVersion();
        if (dv.ok() && dv.value() == m.active.dataVersion)
            return Status(
                ErrorCode::Damaged,
                vt::Translate(kContext,
                              QT_TRANSLATE_NOOP(
                                  "storage", "%3의 테이블 %2에서 레코드 %1을(를) 읽을 수 없습니다"),
                              {std::to_string(id), schema_.name, m.connection->File().string()}));
        return Status(
            ErrorCode::NoCurrentRecord,
            vt::Translate(kContext,
                          QT_TRANSLATE_NOOP("storage", "다른 프로그램이 레코드를 지웠습니다")));
    }
    m.row.resize(schema_.columns.size());
    for (size_t i = 0; i < schema_.columns.size(); ++i)
        m.row[i] = m.fetch.Column(static_cast<int>(i));
    m.fetch.Reset();
    m.cachedPos = m.pos;
    m.cachedRow = id;
    return Status::Ok();
}

Result<Value> RecordSet::GetField(int column) {
    if (column < 0 || column >= static_cast<int>(schema_.columns.size()))
        return Status(ErrorCode::UnknownField, "no field number " + std::to_string(column));
    if (impl_->mode != EditMode::None)
        return impl_->buffer[column];
    Status s = FetchCurrent();
    if (!s.ok())
        return s;
    return impl_->row[column];
}

Result<Value> RecordSet::GetField(std::string_view name) {
    int column = schema_.FindColumn(name);
    if (column < 0)
        return NoSuchField(schema_.name, name);
    return GetField(column);
}

std::string RecordSet::GetText(std::string_view name) {
    Result<Value> v = GetField(name);
    return v.ok() ? v.value().AsText() : std::string();
}

std::int64_t RecordSet::GetInteger(std::string_view name) {
    Result<Value> v = GetField(name);
    return v.ok() ? v.value().AsInteger() : 0;
}

Result<std::vector<Value>> RecordSet::ColumnValues(std::string_view name) {
    Status s = RequireOpen();
    if (!s.ok())
        return s;
    const int column = schema_.FindColumn(name);
    if (column < 0)
        return NoSuchField(schema_.name, name);
    Impl& m = *impl_;
    Result<Statement> st = Statement::Prepare(
        *m.connection, "SELECT rowid, " + QuoteIdentifier(schema_.columns[column].name) + " FROM " +
                           QuoteIdentifier(schema_.name));
    if (!st.ok())
        return st.status();
    std::unordered_map<std::int64_t, Value> byRow;
    byRow.reserve(m.active.rows.size());
    while (true) {
        Result<bool> r = st.value().Step();
        if (!r.ok())
            return r.status();
        if (!r.value())
            break;
        byRow.emplace(st.value().ColumnInteger(0), st.value().Column(1));
    }
    // Records deleted by another program since the query are left out.
    std::vector<Value> values;
    values.reserve(m.active.rows.size());
    for (std::int64_t row : m.active.rows) {
        auto it = byRow.find(row);
        if (it != byRow.end())
            values.push_back(std::move(it->second));
    }
    return values;
}

Result<std::int64_t> RecordSet::GetRecordId() {
    Status s = RequireCurrent();
    if (!s.ok())
        return s;
    return impl_->active.rows[impl_->pos];
}

Status RecordSet::AddNew() {
    Status s = RequireWritable();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    m.mode = EditMode::Adding;
    m.buffer.clear();
    for (size_t i = 0; i < schema_.columns.size(); ++i)
        m.buffer.push_back(schema_.DefaultValue(static_cast<int>(i)));
    m.changed.assign(schema_.columns.size(), false);
    return Status::Ok();
}

Status RecordSet::Edit() {
    CancelUpdate();
    Status s = RequireWritable();
    if (s.ok())
        s = FetchCurrent();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    m.mode = EditMode::Editing;
    m.editRow = m.active.rows[m.pos];
    m.buffer = m.row;
    m.changed.assign(schema_.columns.size(), false);
    return Status::Ok();
}

Status RecordSet::SetField(int column, Value value) {
    Impl& m = *impl_;
    if (m.mode == EditMode::None)
        return Status(ErrorCode::NotEditing, "call AddNew or Edit before setting a field");
    if (column < 0 || column >= static_cast<int>(schema_.columns.size()))
        return Status(ErrorCode::UnknownField, "no field number " + std::to_string(column));
    Status s = schema_.Coerce(column, value);
    if (!s.ok())
        return s;
    m.buffer[column] = std::move(value);
    m.changed[column] = true;
    return Status::Ok();
}

Status RecordSet::SetField(std::string_view name, Value value) {
    int column = schema_.FindColumn(name);
    if (column < 0)
        return NoSuchField(schema_.name, name);
    return SetField(column, std::move(value));
}

Status RecordSet::Update() {
    Status s = RequireOpen();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    if (m.mode == EditMode::None)
        return Status(ErrorCode::NotEditing, "Update without AddNew or Edit");
    if (m.mode == EditMode::Adding) {
        m.insert.Reset();
        int index = 1;
        for (size_t i = 0; i < schema_.columns.size(); ++i) {
            if (schema_.columns[i].type == ColumnType::AutoNumber)
                continue;
            s = m.insert.Bind(index++, m.buffer[i]);
            if (!s.ok())
                return s;
        }
        Result<bool> returned = m.insert.Step();
        const std::int64_t id = !returned.ok()     ? 0
                                : returned.value() ? m.insert.ColumnInteger(0)
                                                   : m.connection->LastInsertId();
        m.insert.Reset();
        if (!returned.ok())
            return returned.status();
        bool atEnd = m.pos >= m.Count();
        m.active.rows.push_back(id);
        if (atEnd)
            m.pos = m.Count();
        m.pendingInserts.push_back(id);
        ++m.writeSerial;
        m.lastModified = id;
    } else {
        std::string sets;
        std::vector<Value> values;
        for (size_t i = 0; i < schema_.columns.size(); ++i) {
            if (!m.changed[i])
                continue;
            if (!sets.empty())
                sets += ", ";
            sets += QuoteIdentifier(schema_.columns[i].name) + " = ?";
            values.push_back(m.buffer[i]);
        }
        if (!sets.empty()) {
            Result<Statement> st =
                Statement::Prepare(*m.connection, "UPDATE " + QuoteIdentifier(schema_.name) +
                                                      " SET " + sets + " WHERE rowid = ?");
            if (!st.ok())
                return st.status();
            values.push_back(Value(m.editRow));
            s = st.value().BindAll(values);
            if (!s.ok())
                return s;
            s = st.value().Run();
            if (!s.ok())
                return s;
            if (m.connection->Changes() == 0)
                return Status(ErrorCode::NoCurrentRecord,
                              "the record was deleted by another program");
            ++m.writeSerial;
            m.activeDirty = true;
            m.cachedPos = -1;
        }
        m.lastModified = m.editRow;
    }
    m.mode = EditMode::None;
    return Status::Ok();
}

void RecordSet::CancelUpdate() {
    impl_->mode = EditMode::None;
}

bool RecordSet::IsEditing() const {
    return impl_->mode != EditMode::None;
}

Status RecordSet::Delete() {
    CancelUpdate();
    Status s = RequireWritable();
    if (s.ok())
        s = RequireCurrent();
    if (!s.ok())
        return s;
    Impl& m = *impl_;
    std::int64_t id = m.active.rows[m.pos];
    Result<Statement> st = Statement::Prepare(
        *m.connection, "DELETE FROM " + QuoteIdentifier(schema_.name) + " WHERE rowid = ?");
    if (!st.ok())
        return st.status();
    s = st.value().Bind(1, Value(id));
    if (!s.ok())
        return s;
    s = st.value().Run();
    if (!s.ok())
        return s;
    bool gone = m.connection->Changes() == 0;
    // The result stays exact: the record leaves it, nothing else changes.
    bool wasClean = m.active.serial == m.writeSerial;
    ++m.writeSerial;
    if (wasClean)
        m.active.serial = m.writeSerial;
    m.active.rows.erase(m.active.rows.begin() + m.pos);
    m.pendingInserts.erase(std::remove(m.pendingInserts.begin(), m.pendingInserts.end(), id),
                           m.pendingInserts.end());
    m.currentDeleted = true;
    m.cachedPos = -1;
    if (gone)
        return Status(ErrorCode::NoCurrentRecord,
                      "the record was already deleted by another program");
    return Status::Ok();
}

Status RecordSet::DeleteAllExcept(const std::vector<long>& keep) {
    return DeleteAllExcept(keep, std::max(impl_->Count(), 1L), {});
}

Status RecordSet::DeleteAllExcept(std::vector<long> keep, long batch,
                                  const BatchStep& beforeBatch) {
    CancelUpdate();
    Status s = RequireWritable();
    if (!s.ok())
        return s;
    if (batch < 1)
        return Status(ErrorCode::InvalidArgument, "a batch holds at least one record");
    Impl& m = *impl_;
    // The server takes many record numbers per statement: one round trip per
    // record would cost more than the deletion itself.
    const bool server = m.connection->GetDialect() == Dialect::PostgreSQL;
    Result<Statement> st = Statement::Prepare(
        *m.connection, "DELETE FROM " + QuoteIdentifier(schema_.name) +
                           (server ? " WHERE rowid = ANY (?::bigint[])" : " WHERE rowid = ?"));
    if (!st.ok())
        return st.status();
    std::string chunk;
    size_t chunked = 0;
    auto flush = [&]() -> Status {
        if (chunked == 0)
            return Status::Ok();
        st.value().Reset();
        Status bound = st.value().Bind(1, Value("{" + chunk + "}"));
        if (bound.ok())
            bound = st.value().Run();
        chunk.clear();
        chunked = 0;
        return bound;
    };
    // The result is read by row number, not by position, so that the step may
    // move the record set while the batches run.
    const std::vector<std::int64_t> rows = m.active.rows;
    const long count = static_cast<long>(rows.size());
    std::vector<std::int64_t> kept;
    size_t k = 0;
    for (long first = 0; first < count; first += batch) {
        const long last = std::min(count, first + batch);
        if (beforeBatch && !beforeBatch(first, last, keep))
            return Status(
                ErrorCode::Cancelled,
                vt::Translate(kContext, QT_TRANSLATE_NOOP("storage", "지우기를 멈췄습니다")));
        for (long p = first; p < last; ++p) {
            const std::int64_t id = rows[static_cast<size_t>(p)];
            while (k < keep.size() && keep[k] < p) ++k;
            if (k < keep.size() && keep[k] == p) {
                kept.push_back(id);
                continue;
            }
            if (server) {
                chunk += (chunked++ ? "," : "") + std::to_string(id);
                s = chunked >= 10000 ? flush() : Status::Ok();
                if (!s.ok())
                    return s;
                continue;
            }
            st.value().Reset();
            s = st.value().Bind(1, Value(id));
            if (s.ok())
                s = st.value().Run();
            if (!s.ok())
                return s;
        }
        s = flush();
        if (!s.ok())
            return s;
    }
    // As after Delete: the result stays exact, only the deleted records leave it.
    const bool wasClean = m.active.serial == m.writeSerial;
    ++m.writeSerial;
    if (wasClean)
        m.active.serial = m.writeSerial;
    m.active.rows = std::move(kept);
    std::erase_if(m.pendingInserts, [&](std::int64_t id) {
        return std::find(m.active.rows.begin(), m.active.rows.end(), id) == m.active.rows.end();
    });
    m.pos = -1;
    m.currentDeleted = false;
    m.cachedPos = -1;
    return Status::Ok();
}

std::int64_t RecordSet::GetLastModified() const {
    return impl_->lastModified;
}

Status RecordSet::WalkToEnd() {
    while (!IsEOF()) {
        Status s = MoveNext();
        if (!s.ok())
            return s;
    }
    return Status::Ok();
}

Status RecordSet::ApplyFilter(std::string_view text) {
    Status s = SetFilter(text);
    if (!s.ok())
        return s;
    s = Requery();
    if (!s.ok())
        return s;
    return WalkToEnd();
}

}  // namespace storage
