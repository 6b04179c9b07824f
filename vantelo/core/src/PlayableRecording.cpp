#include "vantelo/core/PlayableRecording.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/Folders.h"
#include "platform/Translate.h"
#include "storage/ChunkedFiles.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/SharedRecordings.h"

namespace vantelo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "PlayableRecording";

std::string Say(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::Translate(kContext, text, args);
}

PlayableRecording Failed(std::string line) {
    return {{}, std::move(line)};
}

}  // namespace

fs::path RecordingCacheFolder() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    fs::path base;
    if (xdg && *xdg && fs::path(xdg).is_absolute())
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".cache";
    else
        base = fs::temp_directory_path();
    return base / "vantelo" / "recordings";
}

PlayableRecording FindPlayableRecording(const CallRecord& call, const fs::path& database,
                                        const fs::path& cache) {
    if (!call.CallRec || call.CallRecFileName.empty())
        return Failed(Say(QT_TRANSLATE_NOOP("PlayableRecording", "이 통화에는 녹음이 없습니다.")));
    const fs::path local = RecordingRemoval::FileOf(call);
    std::error_code ec;
    if (fs::is_regular_file(local, ec))
        return {local, {}};
    if (!IsSharedDatabase(database) || call.CallUid.empty())
        return Failed(Say(QT_TRANSLATE_NOOP("PlayableRecording", "녹음 파일이 없습니다: %1"),
                          {local.string()}));
    // Named by the call, so a copy once fetched serves every later playback.
    const fs::path copy = cache / (call.CallUid + local.extension().string());
    if (fs::is_regular_file(copy, ec))
        return {copy, {}};
    const char* kCannotFetch = QT_TRANSLATE_NOOP(
        "PlayableRecording", "공유 데이터베이스에서 녹음을 가져올 수 없습니다: %1");
    if (!vt::EnsureFolder(cache.parent_path()) || !vt::EnsureFolder(cache))
        return Failed(Say(kCannotFetch, {cache.string()}));
    auto c = storage::Connection::Open(database);
    if (!c.ok())
        return Failed(Say(kCannotFetch, {c.status().message()}));
    const fs::path part =
        cache / ("." + copy.filename().string() + ".part" + std::to_string(::getpid()));
    storage::Status s =
        storage::ChunkedFiles(*c.value(), RecordingTable()).Fetch(call.CallUid, part);
    if (s.code() == storage::ErrorCode::NoCurrentRecord)
        return Failed(Say(QT_TRANSLATE_NOOP("PlayableRecording",
                                            "녹음이 이 PC에 없고 공유 데이터베이스에도 아직 "
                                            "없습니다: %1"),
                          {call.CallRecFileName}));
    if (s.ok())
        fs::rename(part, copy, ec);
    if (!s.ok() || ec) {
        fs::remove(part, ec);
        return Failed(Say(kCannotFetch, {s.ok() ? copy.string() : s.message()}));
    }
    return {copy, {}};
}

}  // namespace vantelo
