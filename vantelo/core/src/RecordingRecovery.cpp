#include "vantelo/core/RecordingRecovery.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string_view>
#include <system_error>

#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/RecordingRemoval.h"

namespace vantelo {

namespace fs = std::filesystem;

namespace {

bool IsType(const fs::path& p, fs::file_type type) {
    std::error_code ec;  // a path that cannot be looked at has no type here
    return fs::symlink_status(p, ec).type() == type;
}

struct Leftover {
    fs::path aside;
    bool named = false;  // a logged call names its original file
};

// The leftovers of every day folder, by the file name they had.
std::multimap<std::string, Leftover> FindLeftovers(const fs::path& appFolder) {
    std::multimap<std::string, Leftover> found;
    const fs::path root = RecordingRoot(appFolder);
    if (!IsType(root, fs::file_type::directory))
        return found;
    const std::string_view suffix = RecordingRemoval::kAsideSuffix;
    std::error_code ec;
    for (const fs::directory_entry& day : fs::directory_iterator(root, ec)) {
        if (!IsDayFolderName(day.path().filename().string()) ||
            !IsType(day.path(), fs::file_type::directory))
            continue;
        std::error_code inner;
        for (const fs::directory_entry& e : fs::directory_iterator(day.path(), inner)) {
            const std::string name = e.path().filename().string();
            if (name.size() <= suffix.size() || !name.ends_with(suffix) ||
                !IsType(e.path(), fs::file_type::regular))
                continue;
            found.emplace(name.substr(0, name.size() - suffix.size()), Leftover{e.path()});
        }
    }
    return found;
}

// The folder a call logs, and a day folder found by the walk, are the same.
bool SameFolder(const fs::path& logged, const fs::path& found) {
    if (logged.lexically_normal() == found.lexically_normal())
        return true;
    std::error_code ec;
    return fs::equivalent(logged, found, ec) && !ec;
}

// Back under its name, never over a file of that name.
bool MoveBack(const fs::path& aside, const fs::path& original) {
    if (::renameat2(AT_FDCWD, aside.c_str(), AT_FDCWD, original.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that rename: a hard link fails too on a taken name.
    if (::link(aside.c_str(), original.c_str()) != 0)
        return false;
    ::unlink(aside.c_str());
    return true;
}

}  // namespace

RecoveredRecordings RecordingRecovery::Run(const fs::path& appFolder, const fs::path& database) {
    RecoveredRecordings done;
    std::multimap<std::string, Leftover> leftovers = FindLeftovers(appFolder);
    if (leftovers.empty())
        return done;

    // Which leftovers a call still names: file names in one pass over the
    // whole log, the folder read only for the calls of a leftover's name.
    CRSCallList calls(database);
    storage::Result<std::vector<storage::Value>> names =
        calls.Open().ok() ? calls.ColumnValues("CallRecFileName")
                          : storage::Result<std::vector<storage::Value>>(
                                storage::Status(storage::ErrorCode::NotOpen, "no call log"));
    if (!names.ok()) {
        // Without the log nothing can be told: everything stays as it is.
        for (const auto& [name, one] : leftovers) done.left.push_back(one.aside.string());
        return done;
    }
    for (size_t p = 0; p < names.value().size(); ++p) {
        const std::string name = names.value()[p].AsText();
        auto [from, to] = leftovers.equal_range(name);
        if (from == to || !calls.SetAbsolutePosition(static_cast<long>(p)).ok())
            continue;
        const fs::path folder = calls.GetText("CallRecDirectory");
        for (auto it = from; it != to; ++it)
            it->second.named =
                it->second.named || SameFolder(folder, it->second.aside.parent_path());
    }
    calls.Close();

    for (const auto& [name, one] : leftovers) {
        const fs::path& aside = one.aside;
        const fs::path original = aside.parent_path() / name;
        std::error_code ec;
        if (!one.named)
            (fs::remove(aside, ec) && !ec ? done.removed : done.left).push_back(aside.string());
        else if (IsType(original, fs::file_type::not_found) && MoveBack(aside, original))
            done.restored.push_back(aside.string());
        else
            done.left.push_back(aside.string());
    }
    return done;
}

}  // namespace vantelo
