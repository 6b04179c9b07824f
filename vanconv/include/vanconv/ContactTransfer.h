#pragma once
// The two transfers between the contact table AddressList and a sheet of
// texts, without any window: worksheet rows into the table (appended, or
// replacing the whole table) and the table into rows for a new workbook.
//
// An import is one transaction: it lands whole or, on any error, leaves
// the table exactly as it was.

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "storage/RecordSet.h"
#include "vanconv/ConvertFields.h"
#include "workbook/Sheet.h"
#include "workbook/WorkbookWriter.h"

namespace vanconv {

struct ImportPlan {
    const workbook::Sheet* sheet = nullptr;
    long long startRow = 0;
    long long endRow = 0;
    // Per field, the selected index of its list: the 1-based worksheet
    // column, or 0 (or less) for none.
    std::array<int, kFieldCount> columns{};
    bool replace = false;  // a new contact book: the table is emptied first

    long long RowCount() const { return endRow - startRow + 1; }
    // Rows from 1 on and a positive count.
    bool RangeValid() const { return startRow >= 1 && RowCount() > 0; }
};

struct ImportOutcome {
    enum class Kind { Done, NameMissing, BadRange, Failed };
    Kind kind = Kind::Failed;
    long long stored = 0;  // contacts added (0 unless Done)
    std::string error;     // Failed: what went wrong
};

// Told every few hundred rows: rows stored so far, rows in all.
using ImportProgress = std::function<void(long long done, long long total)>;

class ContactTransfer {
public:
    // The value of one field of one worksheet row: empty without a column
    // (Group: "그룹지정 안함"), the first 250 characters of a longer cell.
    static std::string FieldValue(int field, int column, const workbook::Sheet& sheet,
                                  long long row);

    // Per field, the column whose row-1 text is the field's name (as every
    // export and vCard file has it); 0 when no column has it.
    static std::array<int, kFieldCount> HeaderColumns(const workbook::Sheet& sheet);

    // Deletes every record of a table record set over AddressList: from the
    // last record, delete and move to the previous one, as often as the
    // table has records.
    static storage::Status ClearTable(storage::RecordSet& table);

    // Worksheet rows into AddressList of `database` (created when missing).
    static ImportOutcome UpdateTYcallerDB(const std::filesystem::path& database,
                                          const ImportPlan& plan,
                                          const ImportProgress& progress = {});

    // The rows of a new workbook: the sixteen field names, then one row per
    // contact in stored order. A table without contacts gives no rows.
    static storage::Result<workbook::Table> SaveTYcallerAddress(
        const std::filesystem::path& database);
};

}  // namespace vanconv
