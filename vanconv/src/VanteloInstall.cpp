#include "vanconv/VanteloInstall.h"

#include "platform/IniStore.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vanconv {

namespace {

constexpr const char* kSection = "Vantelo.Exe";
constexpr size_t kMaxValue = 1024;  // longer values are cut

std::string Registered(const vt::IniStore& store, const char* key) {
    std::string value = store.GetString(kSection, key).substr(0, kMaxValue);
    const size_t zero = value.find('\0');
    if (zero != std::string::npos)
        value.resize(zero);
    const size_t start = value.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : value.substr(start);
}

}  // namespace

bool VanteloInstall::DatabaseKnown() const {
    const std::string p = databasePath.string();
    if (vantelo::IsSharedDatabase(databasePath))
        return true;
    return p.size() >= 3 && p.compare(p.size() - 3, 3, ".db") == 0;
}

std::optional<VanteloInstall> FindVanteloInstall(const std::filesystem::path& appPathsFile) {
    vt::IniStore store(appPathsFile);
    if (!store.Load())
        return std::nullopt;
    VanteloInstall install;
    install.installFolder = Registered(store, "Path");
    if (install.installFolder.empty())
        return std::nullopt;
    install.databasePath = vantelo::DatabaseIn(install.installFolder);
    install.executable = Registered(store, "Exe");
    return install;
}

std::optional<VanteloInstall> FindVanteloInstall() {
    return FindVanteloInstall(vt::AppPathsFilePath());
}

std::optional<VanteloInstall> FindUnregisteredInstall(const std::filesystem::path& appFolder) {
    std::error_code ec;
    const std::filesystem::path database = vantelo::DatabaseIn(appFolder);
    if (!vantelo::IsSharedDatabase(database) && !std::filesystem::is_regular_file(database, ec))
        return std::nullopt;
    VanteloInstall install;
    install.installFolder = appFolder.string();
    install.databasePath = database;
    return install;
}

}  // namespace vanconv
