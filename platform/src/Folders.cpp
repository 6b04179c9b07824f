#include "platform/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace vt {
namespace fs = std::filesystem;

namespace {

fs::path FromEnv(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? fs::path(v) : fs::path();
}

fs::path HomeFolder() {
    fs::path home = FromEnv("HOME");
    return home.empty() ? fs::path("/tmp") : home;
}

}  // namespace

bool EnsureFolder(const fs::path& folder, unsigned mode) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return false;
    ::chmod(folder.c_str(), static_cast<mode_t>(mode));
    return true;
}

fs::path ApplicationFolder() {
    fs::path folder = FromEnv("VANTELO_HOME");
    if (folder.empty()) {
        fs::path data = FromEnv("XDG_DATA_HOME");
        if (data.empty()) data = HomeFolder() / ".local" / "share";
        folder = data / "Vantelo";
    }
    EnsureFolder(folder);
    return folder;
}

fs::path RuntimeFolder() {
    fs::path runtime = FromEnv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (!runtime.empty() && fs::is_directory(runtime, ec) && ::access(runtime.c_str(), W_OK) == 0)
        return runtime;
    fs::path fallback = fs::path("/tmp") / ("vantelo-" + std::to_string(::getuid()));
    EnsureFolder(fallback, 0700);
    return fallback;
}

fs::path ConfigFolder() {
    fs::path config = FromEnv("XDG_CONFIG_HOME");
    return config.empty() ? HomeFolder() / ".config" : config;
}

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

}  // namespace vt
