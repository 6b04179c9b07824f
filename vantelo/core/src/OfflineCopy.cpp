#include "vantelo/core/OfflineCopy.h"

#include <chrono>
#include <vector>

#include "storage/DatabaseFile.h"
#include "storage/Filter.h"
#include "storage/RecordSet.h"
#include "storage/Transaction.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

namespace {

using storage::Status;

// The copied tables: what names and screens a caller.
std::vector<storage::TableSchema> CopiedTables() {
    return {AddressListSchema(), InnerLineListSchema(), BlockListSchema()};
}

int AutoNumberColumn(const storage::TableSchema& table) {
    for (size_t c = 0; c < table.columns.size(); ++c)
        if (table.columns[c].type == storage::ColumnType::AutoNumber)
            return static_cast<int>(c);
    return -1;
}

// Replaces the rows of `table` in the file by those of the server, in one
// transaction, so a reader sees the old copy or the new one. The server's
// record number goes into the copy's own column for it.
Status CopyTable(const storage::TableSchema& table, const std::filesystem::path& server,
                 const std::filesystem::path& file) {
    storage::RecordSet from(table);
    Status s = from.Open(server);
    std::vector<std::vector<storage::Value>> columns;
    for (size_t c = 0; s.ok() && c < table.columns.size(); ++c) {
        auto values = from.ColumnValues(table.columns[c].name);
        if (!values.ok())
            return values.status();
        // Rows added between two columns' reads: the next look copies again.
        if (c > 0 && values.value().size() != columns[0].size())
            return Status(storage::ErrorCode::Busy, "the table changed while it was copied");
        columns.push_back(std::move(values).value());
    }
    if (!s.ok())
        return s;
    storage::RecordSet to(OfflineCopy::CopiedSchema(table));
    const int serverId = AutoNumberColumn(table);
    s = to.Open(file);
    if (!s.ok())
        return s;
    storage::Transaction transaction(*to.GetConnection());
    s = transaction.Begin();
    if (s.ok() && to.GetRecordCount() > 0)
        s = to.DeleteAllExcept({});
    const size_t rows = columns.empty() ? 0 : columns[0].size();
    for (size_t r = 0; s.ok() && r < rows; ++r) {
        s = to.AddNew();
        for (size_t c = 0; s.ok() && c < table.columns.size(); ++c)
            s = static_cast<int>(c) == serverId
                    ? to.SetField(OfflineCopy::kServerIdColumn, columns[c][r])
                    : to.SetField(static_cast<int>(c), columns[c][r]);
        if (s.ok())
            s = to.Update();
        else
            to.CancelUpdate();
    }
    return s.ok() ? transaction.Commit() : s;
}

}  // namespace

storage::TableSchema OfflineCopy::CopiedSchema(const storage::TableSchema& table) {
    storage::TableSchema copied = table;
    if (AutoNumberColumn(table) >= 0) {
        // A Long: the server's record numbers of these tables stay far below 2^31.
        copied.columns.push_back({kServerIdColumn, storage::ColumnType::Long});
        copied.indexes.push_back({kServerIdColumn});
    }
    return copied;
}

storage::Result<long long> OfflineCopy::ServerIdOf(const std::filesystem::path& copyFile,
                                                   const storage::TableSchema& table,
                                                   long long copyId) {
    const storage::TableSchema copied = CopiedSchema(table);
    const int id = AutoNumberColumn(table);
    if (id < 0)
        return Status(storage::ErrorCode::InvalidArgument, table.name + " has no record number");
    storage::RecordSet set(copied);
    Status s = set.Open(copyFile);
    if (s.ok())
        s = set.ApplyFilter("[" + copied.columns[static_cast<size_t>(id)].name +
                            "] = " + std::to_string(copyId));
    if (s.ok() && set.GetRecordCount() == 0)
        s = Status(storage::ErrorCode::NoCurrentRecord, "no such record in the copy");
    if (s.ok())
        s = set.SetAbsolutePosition(0);
    auto serverId = s.ok() ? set.GetField(kServerIdColumn) : storage::Result<storage::Value>(s);
    if (!serverId.ok())
        return serverId.status();
    return static_cast<long long>(serverId.value().AsInteger());
}

OfflineCopy::OfflineCopy(const vt::Clock& clock, std::filesystem::path server,
                         std::filesystem::path file)
    : clock_(clock), server_(std::move(server)), file_(std::move(file)) {}

OfflineCopy::~OfflineCopy() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void OfflineCopy::Start(unsigned periodMs) {
    if (!thread_.joinable())
        thread_ = std::thread([this, periodMs] { Run(periodMs); });
}

void OfflineCopy::Wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

bool OfflineCopy::LookNow() {
    // One session kept between looks: a desk does not knock at the server
    // with a new connection every few seconds.
    if (!connection_) {
        auto opened = storage::Connection::Open(server_);
        if (!opened.ok()) {
            answered_ = false;
            return false;
        }
        connection_ = std::move(opened).value();
        // A look that hangs must not hold the program's exit for long.
        connection_->SetAnswerDeadline(3000);
    }
    const bool held = held_ && held_();
    bool prepared = false;
    for (const storage::TableSchema& table : CopiedTables()) {
        auto version = connection_->TableVersion(table.name);
        if (!version.ok()) {
            connection_.reset();
            answered_ = false;
            return false;
        }
        answered_ = true;
        // Contacts edited here while away stay as they are until handed over.
        if ((held && AutoNumberColumn(table) >= 0) || copied_[table.name] == version.value())
            continue;
        if (!prepared && !PrepareFile(clock_, file_).ok())
            return false;
        prepared = true;
        if (!CopyTable(table, server_, file_).ok())
            return false;
        copied_[table.name] = version.value();
    }
    return true;
}

storage::Status OfflineCopy::PrepareFile(const vt::Clock& clock,
                                         const std::filesystem::path& file) {
    auto prepared = PrepareDatabase(clock, file);
    if (!prepared.ok())
        return prepared.status();
    // The copy's own column for the server's IDs, added to a copy made before it came.
    std::vector<storage::TableSchema> tables;
    for (const storage::TableSchema& table : CopiedTables()) tables.push_back(CopiedSchema(table));
    return storage::PrepareDatabaseFile(file, tables, clock).status();
}

void OfflineCopy::Run(unsigned periodMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        lock.unlock();
        LookNow();
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(periodMs),
                       [this] { return stop_ || woken_; });
        woken_ = false;
    }
}

}  // namespace vantelo
