#include "vantelo/core/SharedRecordings.h"

namespace vantelo {

storage::FileTable RecordingTable() {
    return {"CallRecording", "CallUid"};
}

storage::Status CreateRecordingTables(storage::Connection& c) {
    storage::Status s = storage::CreateFileTable(c, RecordingTable());
    if (!s.ok())
        return s;
    // Runs with its owner's rights: a role that may delete calls removes
    // their recordings too.
    return c.Exec(
        "CREATE OR REPLACE FUNCTION vt_forget_recording() RETURNS trigger LANGUAGE plpgsql "
        "SECURITY DEFINER SET search_path FROM CURRENT AS $body$ BEGIN "
        "IF OLD.\"CallUid\" <> '' THEN "
        "DELETE FROM \"CallRecording\" WHERE \"CallUid\" = OLD.\"CallUid\"; END IF; "
        "RETURN NULL; END $body$;"
        "DROP TRIGGER IF EXISTS vt_recording ON \"CallList\";"
        "CREATE TRIGGER vt_recording AFTER DELETE ON \"CallList\" FOR EACH ROW "
        "EXECUTE FUNCTION vt_forget_recording()",
        "creating the trigger that removes deleted calls' recordings");
}

storage::Result<bool> StoreRecording(storage::Connection& c, const std::string& callUid,
                                     const std::filesystem::path& file,
                                     const std::atomic<bool>* stop) {
    storage::ChunkedFiles files(c, RecordingTable());
    // The call's row stays locked while its recording goes in, so a deletion
    // waits and then takes the recording with it.
    return files.Put(callUid, file.filename().string(), file,
                     "SELECT 1 FROM \"CallList\" WHERE \"CallUid\" = ? FOR KEY SHARE", stop);
}

}  // namespace vantelo
