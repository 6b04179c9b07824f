#include "vantelo/core/RecordingRemoval.h"

#include <system_error>

namespace vantelo {

namespace fs = std::filesystem;

RecordingRemoval::~RecordingRemoval() {
    Restore();
}

fs::path RecordingRemoval::FileOf(const CallRecord& call) {
    return fs::path(call.CallRecDirectory) / call.CallRecFileName;
}

bool RecordingRemoval::SetAside(const CallRecord& call) {
    if (!call.CallRec || call.CallRecFileName.empty())
        return true;
    std::error_code ec;
    const fs::path file = FileOf(call);
    const fs::file_status st = fs::symlink_status(file, ec);
    if (st.type() == fs::file_type::not_found)
        return true;
    if (ec || st.type() == fs::file_type::directory)
        return false;
    fs::path aside = file;
    aside += kAsideSuffix;
    fs::rename(file, aside, ec);
    if (ec)
        return false;
    moved_.emplace_back(file, aside);
    return true;
}

std::vector<std::string> RecordingRemoval::Finish() {
    std::vector<std::string> left;
    for (const auto& [from, to] : moved_) {
        std::error_code ec;
        fs::remove(to, ec);
        if (ec)
            left.push_back(to.string());
    }
    moved_.clear();
    return left;
}

void RecordingRemoval::Restore() {
    // Newest first, so a file moved twice under one name ends as it began.
    for (auto it = moved_.rbegin(); it != moved_.rend(); ++it) {
        std::error_code ec;
        fs::rename(it->second, it->first, ec);
    }
    moved_.clear();
}

}  // namespace vantelo
