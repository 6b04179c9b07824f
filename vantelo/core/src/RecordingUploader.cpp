#include "vantelo/core/RecordingUploader.h"

#include <set>
#include <system_error>

#include "storage/ChunkedFiles.h"
#include "storage/Filter.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/SharedRecordings.h"

namespace vantelo {

namespace fs = std::filesystem;

RecordingUploader::RecordingUploader(fs::path database, std::string desk)
    : database_(std::move(database)), desk_(std::move(desk)) {
    thread_ = std::thread([this] { Run(); });
}

RecordingUploader::~RecordingUploader() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RecordingUploader::Add(Upload upload) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_.push_back(std::move(upload));
        search_ = search_ || searchAgain_;
        searchAgain_ = false;
    }
    wake_.notify_all();
}

bool RecordingUploader::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, limit, [&] { return !busy_ && queued_.empty() && !search_; });
}

std::size_t RecordingUploader::Waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_.size();
}

std::size_t RecordingUploader::Stored() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stored_.size();
}

std::string RecordingUploader::LastError() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastError_;
}

storage::Result<std::vector<RecordingUploader::Upload>> RecordingUploader::Missing(
    const fs::path& database, const std::string& desk) {
    auto c = storage::Connection::Open(database);
    if (!c.ok())
        return c.status();
    auto stored = storage::ChunkedFiles(*c.value(), RecordingTable()).Keys();
    if (!stored.ok())
        return stored.status();
    CRSCallList calls(database);
    storage::Status s = calls.Open();
    if (s.ok())
        s = calls.ApplyFilter("[CallDesk] = " + storage::QuoteText(desk) +
                              " AND [CallRec] = 1 AND [CallUid] <> ''");
    if (!s.ok())
        return s;
    std::vector<Upload> missing;
    for (long i = 0; i < calls.GetRecordCount(); ++i) {
        s = calls.SetAbsolutePosition(i);
        auto call = s.ok() ? calls.CurrentCall() : storage::Result<CallRecord>(s);
        if (!call.ok())
            return call.status();
        std::error_code ec;
        const fs::path file = RecordingRemoval::FileOf(call.value());
        if (!stored.value().count(call.value().CallUid) && fs::is_regular_file(file, ec))
            missing.push_back({call.value().CallUid, file});
    }
    return missing;
}

void RecordingUploader::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        wake_.wait(lock, [&] { return stop_ || search_ || !queued_.empty(); });
        if (stop_)
            break;
        std::vector<Upload> batch = std::move(failed_);
        failed_.clear();
        for (Upload& u : queued_) batch.push_back(std::move(u));
        queued_.clear();
        const bool search = search_;
        search_ = false;
        busy_ = true;
        lock.unlock();
        if (search) {
            auto missing = Missing(database_, desk_);
            if (missing.ok()) {
                std::set<std::string> known;
                for (const Upload& u : batch) known.insert(u.callUid);
                for (Upload& u : missing.value())
                    if (!known.count(u.callUid))
                        batch.push_back(std::move(u));
            }
            std::lock_guard<std::mutex> relock(mutex_);
            if (!missing.ok()) {
                lastError_ = missing.status().ToString();
                searchAgain_ = true;
            }
        }
        UploadAll(std::move(batch));
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
    busy_ = false;
    idle_.notify_all();
}

void RecordingUploader::UploadAll(std::vector<Upload> batch) {
    for (size_t i = 0; i < batch.size(); ++i) {
        const Upload& u = batch[i];
        storage::Status s;
        bool stored = false;
        if (!connection_) {
            auto c = storage::Connection::Open(database_);
            if (c.ok())
                connection_ = std::move(c).value();
            else
                s = c.status();
        }
        if (connection_) {
            auto put = StoreRecording(*connection_, u.callUid, u.file, &stop_);
            s = put.ok() ? storage::Status::Ok() : put.status();
            stored = put.ok() && put.value();
            // A session that failed may be broken: the next try connects anew.
            if (!put.ok())
                connection_.reset();
        }
        std::error_code ec;
        std::lock_guard<std::mutex> lock(mutex_);
        if (stored)
            stored_.insert(u.callUid);
        if (!s.ok()) {
            lastError_ = s.ToString();
            // The server was away: calls logged meanwhile by other means
            // (replayed later) are looked for with the next logged call too.
            searchAgain_ = true;
            // A file gone meanwhile has nothing left to upload.
            if (fs::exists(u.file, ec))
                failed_.push_back(u);
        }
        if (stop_)
            return;
    }
}

}  // namespace vantelo
