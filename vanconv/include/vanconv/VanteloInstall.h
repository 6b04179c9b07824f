#pragma once
// Where the main program is installed, as its registration says: the
// section [Vantelo.Exe] of the App Paths file, which vantelo writes at
// every start (Path: the application folder; Exe: the program itself).

#include <filesystem>
#include <optional>
#include <string>

namespace vanconv {

inline constexpr const char* kDatabaseFile = "VanteloDB1.db";

struct VanteloInstall {
    std::string installFolder;           // InstallFolder
    std::filesystem::path databasePath;  // DatabasePath
    std::filesystem::path executable;    // empty when the registration names none

    // The transfers work only on a database file vantelo keeps (a ".db" file).
    bool DatabaseKnown() const;
};

// nullopt when the registration is missing or its Path is empty.
std::optional<VanteloInstall> FindVanteloInstall(const std::filesystem::path& appPathsFile);
std::optional<VanteloInstall> FindVanteloInstall();  // the user's App Paths file

// Before vantelo's first start there is no registration yet, but a database
// may already sit in the folder vantelo will use: `appFolder` when it holds
// VanteloDB1.db, else nullopt. It names no program to start again.
std::optional<VanteloInstall> FindUnregisteredInstall(const std::filesystem::path& appFolder);

}  // namespace vanconv
