#include "vanplay/MessageHeard.h"

#include <system_error>

#include "platform/Clock.h"
#include "platform/Folders.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vanplay {

bool MarkMessageHeard(const std::filesystem::path& file) {
    // The desk's database, the shared server when DatabaseUrl names one.
    const auto database = vantelo::DatabaseIn(vt::ApplicationFolderPath());
    std::error_code ec;
    if (!vantelo::IsSharedDatabase(database) && !std::filesystem::is_regular_file(database, ec))
        return false;
    vantelo::MessageInbox inbox(database);
    auto heard = inbox.MarkRecordingHeard(file, vt::SystemClock::Instance().NowLocal());
    return heard.ok() && heard.value();
}

}  // namespace vanplay
