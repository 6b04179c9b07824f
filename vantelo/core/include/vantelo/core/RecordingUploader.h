#pragma once
// Puts the recordings of this desk's calls into the shared database, on a
// thread of its own with its own connection, so the phone never waits for a
// multi-megabyte upload. An upload that fails (server away) is tried again
// with the next logged call; at start the thread first uploads every
// recording of this desk's calls that the database lacks and whose file is
// still here. Local files are only read, never removed.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "storage/Connection.h"

namespace vantelo {

class RecordingUploader {
public:
    struct Upload {
        std::string callUid;
        std::filesystem::path file;
    };

    // Starts the thread on the shared `database` for the calls of `desk`.
    RecordingUploader(std::filesystem::path database, std::string desk);
    // Abandons an upload under way (the next start uploads it) and joins.
    ~RecordingUploader();
    RecordingUploader(const RecordingUploader&) = delete;
    RecordingUploader& operator=(const RecordingUploader&) = delete;

    // A logged call's recording; the uploads that failed before go with it.
    void Add(Upload upload);
    // Waits, at most `limit`, until nothing is queued or under way; true
    // when that is so.
    bool WaitUntilIdle(std::chrono::milliseconds limit);
    // The uploads that failed and wait for the next logged call.
    std::size_t Waiting() const;
    // The calls whose recordings this uploader found stored (by it or before).
    std::size_t Stored() const;
    // Why the last upload or search failed ("" when none did).
    std::string LastError() const;

    // The recordings of `desk`'s calls that the database lacks and whose
    // file is here, oldest first.
    static storage::Result<std::vector<Upload>> Missing(const std::filesystem::path& database,
                                                        const std::string& desk);

private:
    void Run();
    // Uploads `batch`; what fails goes back to failed_.
    void UploadAll(std::vector<Upload> batch);

    const std::filesystem::path database_;
    const std::string desk_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<Upload> queued_;
    std::vector<Upload> failed_;
    bool search_ = true;        // look for what the database lacks (at start)
    bool searchAgain_ = false;  // something failed: search with the next logged call
    bool busy_ = false;
    std::set<std::string> stored_;
    std::string lastError_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<storage::Connection> connection_;  // the thread's own
    std::thread thread_;
};

}  // namespace vantelo
