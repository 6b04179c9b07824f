#pragma once
// A private world for one test: a fresh temporary folder, with
// XDG_RUNTIME_DIR, VANTELO_HOME, XDG_CONFIG_HOME and XDG_DATA_HOME pointing
// inside it, so tests never touch a user's data or each other's sockets.
// The variables are restored and the folder removed at destruction.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vt::test {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path RuntimeDir() const { return root_ / "run"; }
    std::filesystem::path AppHome() const { return root_ / "home"; }
    std::filesystem::path ConfigHome() const { return root_ / "config"; }

    // Sets another variable for the life of this object.
    void Set(const std::string& name, const std::string& value);
    // The programs started from now on run in locale `lang` (LANG; LC_ALL
    // and LC_MESSAGES cleared), which chooses the language they speak.
    void SetLocale(const std::string& lang);

private:
    std::filesystem::path root_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// Folder holding the test programs and the project's binaries.
std::filesystem::path BinaryFolder();

// A whole file's bytes as text (empty when it cannot be read).
std::string ReadText(const std::filesystem::path& file);

}  // namespace vt::test
