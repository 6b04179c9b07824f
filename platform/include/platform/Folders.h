#pragma once
// Where the system keeps its files on Linux.

#include <filesystem>

namespace vt {

// The application folder: $VANTELO_HOME if set, else $XDG_DATA_HOME/Vantelo
// (default ~/.local/share/Vantelo). Created when missing. The database,
// prompts, recordings and the diagnostic Log/ folder live here.
std::filesystem::path ApplicationFolder();

// $XDG_RUNTIME_DIR if set and usable, else /tmp/vantelo-<uid> (mode 0700).
// Locks and sockets of running programs live here.
std::filesystem::path RuntimeFolder();

// $XDG_CONFIG_HOME if set, else ~/.config.
std::filesystem::path ConfigFolder();

// The folder holding the running executable (for libraries "beside the
// executable"); empty if it cannot be determined.
std::filesystem::path ExecutableFolder();

// Creates `folder` (and parents) with the given mode if missing. Returns
// false if it does not exist afterwards.
bool EnsureFolder(const std::filesystem::path& folder, unsigned mode = 0755);

}  // namespace vt
