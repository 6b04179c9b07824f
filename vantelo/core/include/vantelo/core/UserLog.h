#pragma once
// The phone's user log, "logUserApp.txt" in the application folder: emptied
// at each start, then appended to line by line. It is for diagnosis only, so
// a write that fails is dropped rather than reported.

#include <filesystem>
#include <string>

namespace vantelo {

class UserLog {
public:
    static constexpr const char* kFileName = "logUserApp.txt";

    // Creates the log empty (0600; a symlink in its place is refused).
    static void Start(const std::filesystem::path& appFolder);
    static void Append(const std::filesystem::path& appFolder, const std::string& line);
};

}  // namespace vantelo
