#include "vantelo/core/RecordingFiles.h"

#include <cstdio>
#include <ctime>
#include <system_error>
#include <vector>

#include "platform/Folders.h"

namespace vantelo {

namespace fs = std::filesystem;

namespace {

// Recordings are private to the user.
void MakeFolder(const fs::path& folder) {
    vt::EnsureFolder(folder, 0700);
}

std::time_t ToTime(const vt::LocalTime& t) {
    return std::chrono::system_clock::to_time_t(vt::FromLocalTime(t));
}

}  // namespace

bool IsDayFolderName(const std::string& name) {
    if (name.size() != 10)
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9'))
            return false;
    }
    return true;
}

fs::path RecordingRoot(const fs::path& appFolder) {
    return appFolder / kRecordingRootName;
}

std::string RecordingFolder(const vt::Clock& clock, const fs::path& appFolder) {
    vt::LocalTime t = clock.NowLocal();
    char day[16];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", t.year, t.month, t.day);
    fs::path root = RecordingRoot(appFolder);
    MakeFolder(root);
    fs::path folder = root / day;
    MakeFolder(folder);
    return folder.string() + "/";
}

std::string RecordingFileName(const vt::Clock& clock, int modeRecCompress) {
    vt::LocalTime t = clock.NowLocal();
    char name[32];
    std::snprintf(name, sizeof name, "%.2d%.2d%.2d%s", t.hour, t.minute, t.second,
                  modeRecCompress != 0 ? ".vrc" : ".wav");
    return name;
}

void NoteRecordingStarted(CallRecord& call, const std::string& folder, const std::string& file) {
    call.CallRecDirectory = folder;
    call.CallRecFileName = file;
    call.CallRec = true;
}

void BeginGreeting(CallRecord& call, const vt::Clock& clock) {
    call.Reset(clock);
    call.CallMode = kCallGreeting;
}

long SecondsSince(const CallRecord& call, const vt::Clock& clock) {
    double d = std::difftime(ToTime(clock.NowLocal()), ToTime(call.CallDate));
    return d > 0 ? static_cast<long>(d) : 0;
}

void FinishGreeting(CallRecord& call, const vt::Clock& clock, int modeRecCompress) {
    call.CallTime = SecondsSince(call, clock);
    call.CallName = kGreetingCallName;
    call.CallCompressMode = modeRecCompress;
}

bool RemoveRecordingRootIfEmpty(const fs::path& appFolder) {
    std::error_code ec;
    fs::path root = RecordingRoot(appFolder);
    if (!fs::exists(root, ec))
        return true;
    if (!fs::is_directory(root, ec) || !fs::is_empty(root, ec))
        return false;
    return fs::remove(root, ec) && !ec;
}

bool RemoveEmptyRecordingFolders(const fs::path& appFolder) {
    std::error_code ec;
    const fs::path root = RecordingRoot(appFolder);
    std::vector<fs::path> empty;
    if (fs::symlink_status(root, ec).type() == fs::file_type::directory)
        for (const fs::directory_entry& e : fs::directory_iterator(root, ec)) {
            std::error_code one;
            if (e.is_directory(one) && !e.is_symlink(one) &&
                IsDayFolderName(e.path().filename().string()) && fs::is_empty(e.path(), one))
                empty.push_back(e.path());
        }
    for (const fs::path& day : empty) fs::remove(day, ec);  // only ever an empty folder
    return RemoveRecordingRootIfEmpty(appFolder);
}

}  // namespace vantelo
