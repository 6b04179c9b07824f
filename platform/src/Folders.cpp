#include "platform/Folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

std::string Octal(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

// The fallback runtime folder is in a place every local user can write, so
// it is trusted only when it is a directory of ours that nobody else can
// enter: another user who made it first could otherwise swap the sockets.
bool CheckPrivateFolder(const fs::path& folder, std::string* error) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        *error = "cannot use " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    std::string problem;
    if (S_ISLNK(st.st_mode))
        problem = "it is a symbolic link";
    else if (!S_ISDIR(st.st_mode))
        problem = "it is not a folder";
    else if (st.st_uid != ::getuid())
        problem = "it belongs to user id " + std::to_string(st.st_uid);
    else if ((st.st_mode & 0777) != 0700)
        problem = "its mode is " + Octal(st.st_mode) + ", not 0700";
    if (problem.empty())
        return true;
    *error = "refusing the runtime folder " + folder.string() + ": " + problem +
             " (remove it, or set XDG_RUNTIME_DIR to a private folder)";
    return false;
}

}  // namespace

bool EnsureFolder(const fs::path& folder, unsigned mode) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        fs::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) == 0)
        ::chmod(folder.c_str(), static_cast<mode_t>(mode));  // the umask cut the mkdir mode
    return fs::is_directory(folder, ec);
}

std::FILE* OpenPrivateFile(const fs::path& file, const char* mode) {
    const std::string m = mode ? mode : "";
    if (m.empty()) return nullptr;
    const bool plus = m.find('+') != std::string::npos;
    int flags = O_CLOEXEC | O_NOFOLLOW | (plus ? O_RDWR : (m[0] == 'r' ? O_RDONLY : O_WRONLY));
    if (m[0] == 'w') flags |= O_TRUNC;
    if (m[0] == 'a') flags |= O_APPEND;
    int fd = -1;
    if (m[0] == 'r') {
        fd = ::open(file.c_str(), flags);
    } else {
        // Made here: 0600 whatever the umask. Already there: kept as it is.
        fd = ::open(file.c_str(), flags | O_CREAT | O_EXCL, 0600);
        if (fd >= 0)
            ::fchmod(fd, 0600);
        else if (errno == EEXIST)
            fd = ::open(file.c_str(), flags);
    }
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, mode);
    if (!f) ::close(fd);
    return f;
}

bool WritePrivateFileAtomically(const fs::path& file, const std::string& text) {
    if (!EnsureFolder(file.parent_path(), 0700)) return false;
    fs::path temp = file;
    temp += ".tmp-" + std::to_string(::getpid());
    std::FILE* f = OpenPrivateFile(temp, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    std::error_code ec;
    if (ok) fs::rename(temp, file, ec);
    if (!ok || ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

fs::path ApplicationFolderPath() {
    fs::path folder = FromEnv("VANTELO_HOME");
    if (folder.empty()) {
        fs::path data = FromEnv("XDG_DATA_HOME");
        if (data.empty()) data = HomeFolder() / ".local" / "share";
        folder = data / "Vantelo";
    }
    return folder;
}

fs::path ApplicationFolder() {
    fs::path folder = ApplicationFolderPath();
    EnsureFolder(folder, 0700);
    return folder;
}

fs::path RuntimeFolder(std::string* error) {
    std::string scratch;
    if (!error) error = &scratch;
    fs::path runtime = FromEnv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (!runtime.empty() && fs::is_directory(runtime, ec) && ::access(runtime.c_str(), W_OK) == 0)
        return runtime;
    fs::path fallback = fs::path("/tmp") / ("vantelo-" + std::to_string(::getuid()));
    if (::mkdir(fallback.c_str(), 0700) == 0) ::chmod(fallback.c_str(), 0700);
    if (!CheckPrivateFolder(fallback, error)) return {};
    return fallback;
}

fs::path RuntimeFolder() { return RuntimeFolder(nullptr); }

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
