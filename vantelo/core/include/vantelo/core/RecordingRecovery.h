#pragma once
// Mends what a deletion of calls leaves behind when the program dies between
// moving a recording aside ("<file>.deleting") and the end of the deletion:
// a recording whose call is still logged goes back under its name, one whose
// call is gone is removed. Run when the call log is opened, before anything
// deletes again.

#include <filesystem>
#include <string>
#include <vector>

namespace vantelo {

// What the recovery did, by file (the moved-aside names).
struct RecoveredRecordings {
    std::vector<std::string> restored;  // the call is logged: back under its name
    std::vector<std::string> removed;   // the call was deleted: the file went too
    std::vector<std::string> left;      // name taken again, no call log, or refused
};

class RecordingRecovery {
public:
    // Looks only at regular files named "*.deleting" directly in the day
    // folders (YYYY-MM-DD) of <appFolder>/Record, so it costs a directory
    // walk and reads the call log only when there is something to mend.
    // Symbolic links (the root, a day folder or a file) are never followed
    // nor changed, and a file is never put back over another of its name.
    static RecoveredRecordings Run(const std::filesystem::path& appFolder,
                                   const std::filesystem::path& database);
};

}  // namespace vantelo
