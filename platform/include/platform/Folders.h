#pragma once
// Where the system keeps its files on Linux, and how it makes them private.

#include <cstdio>
#include <filesystem>
#include <string>

namespace vt {

// The application folder: $VANTELO_HOME if set, else $XDG_DATA_HOME/Vantelo
// (default ~/.local/share/Vantelo). Created (mode 0700) when missing. The
// database, prompts, recordings and the diagnostic Log/ folder live here.
std::filesystem::path ApplicationFolder();
// The same folder, not created: for programs that only look for what
// vantelo keeps there.
std::filesystem::path ApplicationFolderPath();

// $XDG_RUNTIME_DIR if set and usable, else the fallback /tmp/vantelo-<uid>,
// used only when it is a real directory (not a symlink) owned by this user
// with no access for anyone else; it is created so when missing. Locks and
// sockets of running programs live here. A refused fallback gives an empty
// path, with the reason (one line) in `*error` when given.
std::filesystem::path RuntimeFolder(std::string* error);
std::filesystem::path RuntimeFolder();

// $XDG_CONFIG_HOME if set, else ~/.config.
std::filesystem::path ConfigFolder();

// The folder holding the running executable (for libraries "beside the
// executable"); empty if it cannot be determined.
std::filesystem::path ExecutableFolder();

// Creates `folder` (and missing parents) if missing; the folder itself gets
// `mode` whatever the umask. Returns false if it does not exist afterwards.
bool EnsureFolder(const std::filesystem::path& folder, unsigned mode = 0700);

// fopen for files the programs create: a file this call creates gets mode
// 0600 whatever the umask (an existing one keeps its mode); a symlink in the
// last place is refused. `mode` as fopen's: "r", "w", "a", with "+" / "b".
std::FILE* OpenPrivateFile(const std::filesystem::path& file, const char* mode);

// Replaces `file` with `text` so that a crash leaves the old content or the
// new, never half: a private temporary file beside it (its folder created
// 0700 when missing), flushed to the disk, then renamed over it. False on any
// failure, the old file then untouched.
bool WritePrivateFileAtomically(const std::filesystem::path& file, const std::string& text);

}  // namespace vt
