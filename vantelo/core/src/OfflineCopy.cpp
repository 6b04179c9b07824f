#include "vantelo/core/OfflineCopy.h"

#include <chrono>
#include <vector>

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

// Replaces the rows of `table` in the file by those of the server, in one
// transaction, so a reader sees the old copy or the new one.
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
    storage::RecordSet to(table);
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
            if (table.columns[c].type != storage::ColumnType::AutoNumber)
                s = to.SetField(static_cast<int>(c), columns[c][r]);
        if (s.ok())
            s = to.Update();
        else
            to.CancelUpdate();
    }
    return s.ok() ? transaction.Commit() : s;
}

}  // namespace

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
    for (const storage::TableSchema& table : CopiedTables()) {
        auto version = connection_->TableVersion(table.name);
        if (!version.ok()) {
            connection_.reset();
            answered_ = false;
            return false;
        }
        answered_ = true;
        if (copied_[table.name] == version.value())
            continue;
        if (!PrepareDatabase(clock_, file_).ok() || !CopyTable(table, server_, file_).ok())
            return false;
        copied_[table.name] = version.value();
    }
    return true;
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
