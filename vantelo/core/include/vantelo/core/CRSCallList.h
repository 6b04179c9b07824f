#pragma once
// The call log: record set over [CallList], with the kind filter of the call
// log page's tabs and its text search (never both at once), the append of a
// finished call, and the deletions of the page (record with its recording).

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/TranslateNoop.h"
#include "storage/RecordSet.h"
#include "vantelo/core/CallRecord.h"

namespace vantelo {

class RecordingRemoval;

// What a deletion did. A call whose recording could not be removed is kept,
// so no call points at a lost recording and no recording is left without its
// call; `kept` names those recordings (folder and file).
struct CallDeletion {
    long deleted = 0;
    std::vector<std::string> kept;
};

// Told between the batches of a long deletion: the calls gone through so far
// and their total. Returning false stops the deletion with nothing changed.
using DeletionProgress = std::function<bool(long done, long total)>;

class CRSCallList : public storage::RecordSet {
public:
    // Calls deleted between two reports of progress.
    static constexpr long kDeletionBatch = 20000;
    static constexpr long kSizeWarningCount = 900000;
    static constexpr const char* kSizeWarningText = QT_TRANSLATE_NOOP(
        "CRSCallList", "통화내역 DB가 찼습니다. 데이터를 정리해 주시기 바랍니다.");

    CRSCallList();  // on the default database file
    explicit CRSCallList(std::filesystem::path database);

    // Opens the table as a dynaset, unfiltered, and walks it to the end.
    storage::Status Open();
    // The warning is due above 900000 records (none are ever refused).
    static bool IsOverSizeWarning(long count) { return count > kSizeWarningCount; }
    bool NeedsSizeWarning() const { return IsOverSizeWarning(GetRecordCount()); }

    // Tab 0..6 of the page; clears the search condition.
    storage::Status SetKindFilter(int tab);
    // Kinds 1 name, 2 number, 3 date (six digits YYMMDD), 4 DTMF, 5 memo, any
    // other the kind column; clears the kind condition. A date that is not six
    // digits of a real day is refused and changes nothing.
    storage::Status SetSearch(int kind, std::string_view text);
    // The search condition when there is one, else the kind condition.
    std::string AppliedFilter() const;
    const std::string& KindCondition() const { return kind_; }
    const std::string& SearchCondition() const { return search_; }
    // Sets the applied filter, re-queries and walks to the end.
    storage::Status ReApply();

    static std::string KindConditionFor(int tab);
    static storage::Result<std::string> SearchConditionFor(int kind, std::string_view text);

    // Stores the finished call with this desk's name and a new unique id,
    // re-applies the filter and resets the call.
    // Opens the record set first when it is not open. On an error the call
    // is kept as it was, so nothing is lost.
    // `uid`, when given, is the call's id instead of a new one (a call kept
    // while the shared store was away keeps the id it was first tried with).
    storage::Status AppendCall(CallRecord& call, const vt::Clock& clock,
                               const std::string& uid = {});
    // True when a call with this unique id is stored (whatever the filter).
    storage::Result<bool> HasCall(const std::string& uid);
    // The CallUid AppendCall gave the call it stored last.
    const std::string& LastAppendedUid() const { return lastUid_; }
    // The same for a page that may not have its record set yet: one is made.
    static storage::Status AppendCallTo(std::unique_ptr<CRSCallList>& set, CallRecord& call,
                                        const vt::Clock& clock);

    storage::Result<CallRecord> CurrentCall();
    storage::Status SaveMemo(std::string_view memo);
    // Deletes the current call with its recording: the recording first; when
    // it cannot be removed the call stays (and is named in `kept`). An error
    // status means the database refused: nothing changed, the recording is
    // back in place.
    storage::Result<CallDeletion> DeleteCurrentCall();
    // Deletes every call of the record set with its recording, in one
    // transaction, keeping the calls whose recording cannot be removed; then
    // removes the empty day folders and the recordings folder of the
    // application folder when it is empty. The calls go in batches of `batch`,
    // with `progress` told before each batch (an answer of false stops it:
    // status Cancelled) and once more when all are deleted. On any error
    // status, Cancelled included, nothing changed: every call and every
    // recording is in place.
    storage::Result<CallDeletion> DeleteAllCalls(const std::filesystem::path& appFolder,
                                                 const DeletionProgress& progress = {},
                                                 long batch = kDeletionBatch);

private:
    storage::Status Apply(std::string kind, std::string search);
    // The calls of the result with their recordings (set aside in `removal`),
    // batch by batch in one transaction, all or nothing.
    storage::Status DeleteInBatches(const std::vector<storage::Value>& flags,
                                    const DeletionProgress& progress, long batch,
                                    RecordingRemoval& removal, CallDeletion& result);

    std::filesystem::path database_;
    std::string desk_;  // written into every call appended here
    std::string lastUid_;
    std::string kind_;
    std::string search_;
};

}  // namespace vantelo
