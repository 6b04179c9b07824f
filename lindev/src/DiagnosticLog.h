#pragma once
// The diagnostic log: one line per device operation, appended to today's
// file Log/Vantelo_Log<yyyymmdd>.txt in the application folder. The file is
// reopened for every line, so several processes and slots may share it;
// lines end in CR LF. A slot whose logging is off writes nothing at all.

#include <filesystem>
#include <string>

#include "platform/Clock.h"

namespace lindev {

class DiagnosticLog {
public:
    static constexpr std::size_t kLineBufferSize = 256;

    // The clock that dates lines and names files (null: the system clock).
    // For tests; not meant to change while lines are written.
    static void SetClock(const vt::Clock* clock);

    // Today's log file.
    static std::filesystem::path TodayFile();

    // Creates the Log folder and today's file if missing; earlier lines of
    // the day are kept. False if the file cannot be opened.
    static bool Prepare();

    // Creates (or empties) the marker file VtSdk.log in the application
    // folder.
    static void CreateSdkMarker();

    // The line as written for `deviceId` and `message` at `at`, before the
    // CR LF translation: cut to the 256-character buffer.
    static std::string FormatLine(const vt::LocalTime& at, int deviceId, const std::string& message);

    // Appends one line; a file that cannot be opened drops it silently.
    static void Write(int deviceId, const std::string& message);
};

}  // namespace lindev
