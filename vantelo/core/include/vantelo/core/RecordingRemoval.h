#pragma once
// Removes the recordings of calls that are being deleted, in two steps, so
// that a recording is only gone once its call is, and a call is only deleted
// once its recording could be removed: each file is first moved aside in its
// own folder (which succeeds exactly when removing it would); when the
// deletion of the calls is committed the moved files are removed, and when it
// fails (or is abandoned) they go back where they were.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "vantelo/core/CallRecord.h"

namespace vantelo {

class RecordingRemoval {
public:
    // Added to the name of a recording while it is moved aside.
    static constexpr const char* kAsideSuffix = ".deleting";

    RecordingRemoval() = default;
    // Whatever is neither finished nor restored goes back.
    ~RecordingRemoval();
    RecordingRemoval(const RecordingRemoval&) = delete;
    RecordingRemoval& operator=(const RecordingRemoval&) = delete;

    // Moves the call's recording aside; true also for a call without one and
    // for a recording that is already gone. False when the file cannot be
    // removed (no right to its folder, or a folder in its place).
    bool SetAside(const CallRecord& call);
    // The calls are deleted: the recordings moved aside are removed for good.
    // The ones that could not be (only when the folder changed meanwhile)
    // are returned, by their moved-aside names.
    std::vector<std::string> Finish();
    // The calls stay: every recording moved aside goes back.
    void Restore();

    // The file of a call's recording: folder and file name as logged.
    static std::filesystem::path FileOf(const CallRecord& call);

private:
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> moved_;  // from, to
};

}  // namespace vantelo
