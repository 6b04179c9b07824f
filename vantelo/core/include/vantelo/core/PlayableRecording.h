#pragma once
// Where a logged call's recording can be played (or copied) from, on any
// desk: the file where the call was recorded when it is here, else a copy
// fetched from the shared database into a private cache. Every place that
// opens a call's recording asks here.

#include <filesystem>
#include <string>

#include "vantelo/core/CallRecord.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

// $XDG_CACHE_HOME/vantelo/recordings (default ~/.cache/vantelo/recordings).
std::filesystem::path RecordingCacheFolder();

struct PlayableRecording {
    std::filesystem::path file;  // empty when there is none
    std::string error;           // why not, one line in the user's language
    bool ok() const { return error.empty(); }
};

// The call's recording file. A copy is fetched once (folders 0700, files
// 0600, written under a temporary name and then renamed, so a half-fetched
// file is never played) and kept in `cache` under the call's CallUid.
PlayableRecording FindPlayableRecording(
    const CallRecord& call, const std::filesystem::path& database = DefaultDatabasePath(),
    const std::filesystem::path& cache = RecordingCacheFolder());

}  // namespace vantelo
