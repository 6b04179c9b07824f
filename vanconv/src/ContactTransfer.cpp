#include "vanconv/ContactTransfer.h"

#include "platform/Clock.h"
#include "platform/Translate.h"
#include "storage/Transaction.h"
#include "vantelo/core/ContactRecord.h"
#include "vantelo/core/VanteloDatabase.h"
#include "workbook/Utf8.h"

namespace vanconv {

using storage::ErrorCode;
using storage::Status;

namespace {

// The record set's column of each of the sixteen fields.
std::array<int, kFieldCount> FieldColumns(const storage::RecordSet& set) {
    std::array<int, kFieldCount> columns{};
    for (int f = 0; f < kFieldCount; ++f)
        columns[f] = set.Schema().FindColumn(kConvertFields[f].field);
    return columns;
}

Status AddRow(storage::RecordSet& table, const std::array<int, kFieldCount>& tableColumns,
              const ImportPlan& plan, long long row) {
    Status s = table.AddNew();
    for (int f = 0; s.ok() && f < kFieldCount; ++f)
        s = table.SetField(tableColumns[f],
                           ContactTransfer::FieldValue(f, plan.columns[f], *plan.sheet, row));
    // The national form of each number beside it, so a running phone names
    // a caller whose number the sheet writes "+82 2-..." or "02)...".
    for (const vantelo::NumberKeyColumn& column : vantelo::kNumberKeyColumns) {
        if (!s.ok() || table.Schema().FindColumn(column.key) < 0)
            continue;
        storage::Result<storage::Value> number = table.GetField(column.field);
        s = number.ok() ? table.SetField(column.key, vantelo::NumberKey(number.value().AsText()))
                        : number.status();
    }
    if (s.ok())
        s = table.Update();
    if (!s.ok()) {
        table.CancelUpdate();
        return Status(s.code(), vt::Translate("vanconv", QT_TRANSLATE_NOOP("vanconv", "%1행: %2"),
                                              {std::to_string(row), s.message()}));
    }
    return s;
}

}  // namespace

std::string ContactTransfer::FieldValue(int field, int column, const workbook::Sheet& sheet,
                                        long long row) {
    std::string value;
    if (column >= 1 && row >= 1 && row <= workbook::Sheet::kMaxRows)
        value =
            workbook::FirstCharacters(sheet.Text(static_cast<int>(row), column), kMaxImportChars);
    if (value.empty() && field == kGroupField)
        return kNoGroup;
    return value;
}

std::array<int, kFieldCount> ContactTransfer::HeaderColumns(const workbook::Sheet& sheet) {
    std::array<int, kFieldCount> columns{};
    for (int f = 0; f < kFieldCount; ++f)
        for (int c = 1; c <= sheet.Used().LastColumn(); ++c)
            if (sheet.Text(1, c) == kConvertFields[f].field)
                columns[f] = c;
    return columns;
}

Status ContactTransfer::ClearTable(storage::RecordSet& table) {
    Status s = table.MoveLast();
    if (!s.ok())
        return table.GetRecordCount() == 0 ? Status::Ok() : s;
    const long count = table.GetRecordCount();
    for (long i = 0; i < count; ++i) {
        s = table.Delete();
        if (s.ok())
            s = table.MovePrev();  // after the first record: BOF
        if (!s.ok())
            return s;
    }
    return Status::Ok();
}

ImportOutcome ContactTransfer::UpdateTYcallerDB(const std::filesystem::path& database,
                                                const ImportPlan& plan,
                                                const ImportProgress& progress) {
    ImportOutcome out;
    if (plan.columns[kNameField] <= 0) {
        out.kind = ImportOutcome::Kind::NameMissing;
        return out;
    }
    if (!plan.sheet || !plan.RangeValid()) {
        out.kind = ImportOutcome::Kind::BadRange;
        return out;
    }
    const auto fail = [&out](const Status& s) {
        out.kind = ImportOutcome::Kind::Failed;
        out.stored = 0;
        out.error = s.message();
        return out;
    };
    auto prepared = vantelo::PrepareDatabase(vt::SystemClock::Instance(), database);
    if (!prepared.ok())
        return fail(prepared.status());

    storage::RecordSet table(vantelo::AddressListSchema());
    Status s = table.Open(database, storage::RecordSetType::Table);
    if (!s.ok())
        return fail(s);
    storage::Transaction transaction(*table.GetConnection());
    s = transaction.Begin();
    if (s.ok() && plan.replace)
        s = ClearTable(table);
    const auto tableColumns = FieldColumns(table);
    const long long total = plan.RowCount();
    for (long long n = 0; s.ok() && n < total; ++n) {
        s = AddRow(table, tableColumns, plan, plan.startRow + n);
        if (s.ok() && progress && (n + 1) % 500 == 0)
            progress(n + 1, total);
    }
    if (s.ok())
        s = transaction.Commit();
    if (!s.ok())
        return fail(s);  // the transaction rolls back as it ends
    out.kind = ImportOutcome::Kind::Done;
    out.stored = total;
    return out;
}

storage::Result<workbook::Table> ContactTransfer::SaveTYcallerAddress(
    const std::filesystem::path& database) {
    if (!std::filesystem::exists(database))
        return Status(ErrorCode::NotOpen, database.string() + " does not exist");
    storage::RecordSet table(vantelo::AddressListSchema());
    Status s = table.Open(database, storage::RecordSetType::Table);
    if (!s.ok())
        return s;
    workbook::Table rows;
    if (table.IsEOF() && table.IsBOF())
        return rows;
    std::vector<std::string> header;
    for (const auto& f : kConvertFields) header.push_back(f.field);
    rows.push_back(std::move(header));
    const auto columns = FieldColumns(table);
    for (s = table.MoveFirst(); s.ok() && !table.IsEOF(); s = table.MoveNext()) {
        std::vector<std::string> row;
        row.reserve(kFieldCount);
        for (int column : columns) {
            auto v = table.GetField(column);
            if (!v.ok())
                return v.status();
            row.push_back(v.value().AsText());
        }
        rows.push_back(std::move(row));
    }
    if (!s.ok())
        return s;
    return rows;
}

}  // namespace vanconv
