#include "DiagnosticLog.h"

#include <atomic>
#include <cstdio>

#include "platform/Folders.h"

namespace lindev {

namespace {

std::atomic<const vt::Clock*> g_clock{nullptr};

const vt::Clock& CurrentClock() {
    const vt::Clock* clock = g_clock.load();
    return clock ? *clock : vt::SystemClock::Instance();
}

std::filesystem::path LogFolder() { return vt::ApplicationFolder() / "Log"; }

std::filesystem::path FileFor(const vt::LocalTime& t) {
    char name[64];
    std::snprintf(name, sizeof name, "Vantelo_Log%.2d%.2d%.2d.txt", t.year, t.month, t.day);
    return LogFolder() / name;
}

// Text-mode writing as the log has always been stored: "\n" becomes CR LF.
void WriteTextMode(std::FILE* file, const std::string& line) {
    for (char c : line) {
        if (c == '\n') std::fputc('\r', file);
        std::fputc(c, file);
    }
}

}  // namespace

void DiagnosticLog::SetClock(const vt::Clock* clock) { g_clock.store(clock); }

std::filesystem::path DiagnosticLog::TodayFile() { return FileFor(CurrentClock().NowLocal()); }

bool DiagnosticLog::Prepare() {
    vt::EnsureFolder(LogFolder(), 0700);
    std::FILE* file = vt::OpenPrivateFile(TodayFile(), "a");
    if (!file) return false;
    std::fclose(file);
    return true;
}

void DiagnosticLog::CreateSdkMarker() {
    std::FILE* file = vt::OpenPrivateFile(vt::ApplicationFolder() / "VtSdk.log", "w");
    if (file) std::fclose(file);
}

std::string DiagnosticLog::FormatLine(const vt::LocalTime& t, int deviceId,
                                      const std::string& message) {
    char line[kLineBufferSize];
    std::snprintf(line, sizeof line, "[%.2d-%.2d-%.2d %.2d:%.2d:%.2d] DevID=%d, %s \n", t.year,
                  t.month, t.day, t.hour, t.minute, t.second, deviceId, message.c_str());
    return line;
}

void DiagnosticLog::Write(int deviceId, const std::string& message) {
    const vt::LocalTime now = CurrentClock().NowLocal();
    const std::string line = FormatLine(now, deviceId, message);
    std::FILE* file = vt::OpenPrivateFile(FileFor(now), "a+");
    if (!file) return;
    WriteTextMode(file, line);
    std::fclose(file);
}

}  // namespace lindev
