#pragma once
// The text backup of the call log: "Logo.txt" in the destination folder, one
// block per call (CR LF line ends, UTF-8 without byte-order mark), and each
// recording copied into a folder named after the call's date. Used by the
// call log page and by `vtdb backup`, so both write the same bytes. Nothing
// here deletes anything.

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "vantelo/core/CallRecord.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

class CRSCallList;

class CallLogBackup {
public:
    static constexpr const char* kFileName = "Logo.txt";

    // Recordings not on this PC are fetched from `database` when it is the
    // shared server (see PlayableRecording.h).
    explicit CallLogBackup(std::filesystem::path destination,
                           std::filesystem::path database = DefaultDatabasePath());
    ~CallLogBackup();
    CallLogBackup(const CallLogBackup&) = delete;
    CallLogBackup& operator=(const CallLogBackup&) = delete;

    // "YYYY-MM-DD HH:MM:SS"; its first 10 characters name the date folder.
    static std::string CallTimeText(const vt::LocalTime& t);
    // The block of one call, numbered `number`, ending with an empty line.
    static std::string Block(int number, const CallRecord& call);

    // Creates the destination folder when missing and a new backup file in
    // it. An existing "Logo.txt" is never overwritten: the next free
    // "Logo-2.txt", "Logo-3.txt" ... is used instead. False when the file
    // cannot be made (the reason is in Failures()).
    bool Begin();
    // Writes the call's block and copies its recording into the date folder.
    // A failure is noted and the backup goes on with the next call.
    void Add(int number, const CallRecord& call);
    // Every record of the record set, first to last, numbered 1, 2, 3 ...;
    // stops early when `stop` becomes true. Returns the number written.
    long AddAll(CRSCallList& calls, const std::atomic<bool>* stop = nullptr);
    // Closes the file; false when anything could not be written.
    bool Finish();

    const std::filesystem::path& File() const { return file_; }
    const std::vector<std::string>& Failures() const { return failures_; }

private:
    void Fail(std::string what);
    void CopyRecording(const CallRecord& call);

    std::filesystem::path destination_;
    std::filesystem::path database_;
    std::filesystem::path file_;
    int fd_ = -1;
    std::vector<std::string> failures_;
};

}  // namespace vantelo
