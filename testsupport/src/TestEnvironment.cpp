#include "testsupport/TestEnvironment.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace vt::test {
namespace fs = std::filesystem;

TestEnvironment::TestEnvironment() {
    std::string tmpl = (fs::temp_directory_path() / "vantelo-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    for (const char* sub : {"run", "home", "config", "data"}) fs::create_directories(root_ / sub);
    fs::permissions(RuntimeDir(), fs::perms::owner_all);
    Set("XDG_RUNTIME_DIR", RuntimeDir().string());
    Set("VANTELO_HOME", AppHome().string());
    Set("XDG_CONFIG_HOME", ConfigHome().string());
    Set("XDG_DATA_HOME", (root_ / "data").string());
}

TestEnvironment::~TestEnvironment() {
    for (const auto& [name, old] : saved_) {
        if (old)
            ::setenv(name.c_str(), old->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void TestEnvironment::Set(const std::string& name, const std::string& value) {
    if (!saved_.count(name)) {
        const char* old = std::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    ::setenv(name.c_str(), value.c_str(), 1);
}

void TestEnvironment::SetLocale(const std::string& lang) {
    Set("LANG", lang);
    Set("LC_ALL", "");
    Set("LC_MESSAGES", "");
}

fs::path BinaryFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vt::test
