#include "vanplay/PlayerPaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace vanplay {

namespace fs = std::filesystem;

bool IsCompressed(const std::string& path) {
    if (path.size() < 3)
        return false;
    std::string tail = path.substr(path.size() - 3);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == "vrc";
}

std::string FileNamePart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithExtension(const std::string& path, const std::string& ext) {
    const std::string name = FileNamePart(path);
    if (name.size() > 4 && name[name.size() - 4] == '.')
        return path.substr(0, path.size() - 3) + ext;
    return path + "." + ext;
}

std::string Mp3PathFor(const std::string& currentFile) {
    return WithExtension(currentFile, "mp3");
}

std::optional<fs::path> MakePrivateTempFile(const std::string& hint) {
    std::string stem = FileNamePart(hint);
    stem.erase(std::remove_if(stem.begin(), stem.end(),
                              [](unsigned char c) { return c == '/' || std::iscntrl(c); }),
               stem.end());
    if (stem.size() > 60)
        stem.resize(60);
    std::string pattern =
        (fs::temp_directory_path() / ("vanplay-" + stem + "-XXXXXX.wav")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    return fs::path(buffer.data());
}

std::optional<fs::path> ClaimDecodedFile(const std::string& recording) {
    const std::string beside = WithExtension(recording, "wav");
    // O_EXCL: the name is ours only if nobody had it, so a user's WAV of the
    // same name is never overwritten (nor later deleted as "ours").
    const int fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
        return fs::path(beside);
    }
    return MakePrivateTempFile(recording);
}

}  // namespace vanplay
