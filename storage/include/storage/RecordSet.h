#pragma once
// A record set over one table of a database file: how the program reads,
// adds, edits and deletes records. Opened as a dynaset (filter, re-query) or
// as a table record set (the whole table in stored order). Each record set
// opens its own connection.
//
// A dynaset holds the record numbers of its result only (a keyset) and reads
// a record's fields when they are asked for, so opening a large table, walking
// it to the end and reading its record count costs little, and any record is
// reached by absolute position at once. A re-query that finds the table
// unchanged since the last query of the same filter keeps that result; one
// that finds only records added through this record set checks just those.
//
// Moves and the end tests follow the data access objects: after a re-query
// the first record is current (empty result: both BOF and EOF); MoveNext from
// the last record reaches EOF; moving beyond EOF or BOF is an error. Records
// added here appear at the end of the dynaset until the next re-query. After
// Delete there is no current record until the next move; MoveNext then goes
// to the record that followed the deleted one, MovePrev to the one before it
// (BOF, without an error, when there is none: so MoveLast, then Delete and
// MovePrev once per record, empties a table).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Connection.h"
#include "storage/Filter.h"
#include "storage/Result.h"
#include "storage/TableSchema.h"
#include "storage/Value.h"

namespace storage {

enum class RecordSetType { Dynaset, Table };

class RecordSet {
public:
    explicit RecordSet(TableSchema schema);
    virtual ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    // Opens the file (which must hold the table) and runs the first query.
    // A lock held by another program is waited for up to busyTimeoutMs. A
    // file that cannot be written is opened read-only: reading works, and
    // AddNew, Edit and Delete are refused as ReadOnly.
    Status Open(const std::filesystem::path& database, RecordSetType type = RecordSetType::Dynaset,
                int busyTimeoutMs = 3000);
    void Close();
    bool IsOpen() const;
    const TableSchema& Schema() const { return schema_; }
    // The connection of this record set (for a transaction around bulk writes).
    Connection* GetConnection();

    // The filter used by the next Requery. A text that does not parse, or any
    // filter on a table record set, is refused and the filter stays as it was.
    Status SetFilter(std::string_view text);
    const std::string& GetFilter() const;
    Status Requery();

    Status MoveFirst();
    Status MoveNext();
    Status MovePrev();
    Status MoveLast();
    Status SetAbsolutePosition(long position);  // 0-based
    long GetAbsolutePosition() const;           // -1 without a current record
    bool IsEOF() const;
    bool IsBOF() const;
    long GetRecordCount() const;
    // Moves next until the end, as a page does before it reads the count.
    Status WalkToEnd();
    // SetFilter, Requery and WalkToEnd: how a page applies a new condition.
    Status ApplyFilter(std::string_view text);

    // Fields of the current record, or of the edit buffer during AddNew/Edit.
    Result<Value> GetField(std::string_view name);
    Result<Value> GetField(int column);
    // Text of a field; empty when it cannot be read.
    std::string GetText(std::string_view name);
    std::int64_t GetInteger(std::string_view name);
    // The record number (rowid) of the current record.
    Result<std::int64_t> GetRecordId();
    // One field of every record of the result, in record-set order, read in
    // one pass: a walk over a single field of a large result without a read
    // per record. The current record does not move.
    Result<std::vector<Value>> ColumnValues(std::string_view name);

    Status AddNew();
    Status Edit();
    Status SetField(std::string_view name, Value value);
    Status SetField(int column, Value value);
    // Stores the edit buffer; returns once the change is committed to disk
    // (or, inside a transaction of GetConnection(), with it).
    Status Update();
    void CancelUpdate();
    bool IsEditing() const;
    Status Delete();
    // Deletes every record of the result except those at the positions in
    // `keep` (ascending), with one prepared statement: the bulk form of Delete
    // for a large result, meant to run inside a transaction of
    // GetConnection(). The kept records stay in the result, in their order;
    // there is no current record until the next move. On an error the result
    // is not changed here: roll the transaction back and re-query.
    Status DeleteAllExcept(const std::vector<long>& keep);
    // The same in batches of `batch` positions, for a caller that shows
    // progress or has work of its own per record: `beforeBatch(first, last,
    // keep)` runs before the records at positions [first, last) are deleted;
    // it may add positions of that range to `keep` (ascending, after the ones
    // already there) and returns false to stop: the call then returns
    // Cancelled and the result is not changed here (roll the transaction back).
    using BatchStep = std::function<bool(long first, long last, std::vector<long>& keep)>;
    Status DeleteAllExcept(std::vector<long> keep, long batch, const BatchStep& beforeBatch);
    // The record number of the record last added or changed.
    std::int64_t GetLastModified() const;

private:
    struct Impl;
    Status RequireOpen() const;
    Status RequireWritable() const;
    Status BeginMove();
    Status MoveToEnd(bool last);
    Status RequireCurrent() const;
    Status FetchCurrent();
    Status FullQuery();
    bool ReconcileInserts(bool& done);

    TableSchema schema_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace storage
