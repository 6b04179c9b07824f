#pragma once
// A settings store in INI form: the per-user settings and the App Paths file.
// Values keep their keys and types; Save writes a temporary file and renames
// it over the old one, so a crash never leaves half a file.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vt {

class IniStore {
public:
    explicit IniStore(std::filesystem::path file);

    const std::filesystem::path& File() const { return file_; }

    // Reads the file; a missing file is an empty store (true). False when the
    // file exists but cannot be read.
    bool Load();

    // Writes atomically, creating the folder. False on any failure; the old
    // file is then untouched.
    bool Save() const;

    bool Has(const std::string& section, const std::string& key) const;
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback = {}) const;
    // A value that is not a whole number gives the fallback.
    std::int64_t GetInt(const std::string& section, const std::string& key,
                        std::int64_t fallback = 0) const;

    void SetString(const std::string& section, const std::string& key, const std::string& value);
    void SetInt(const std::string& section, const std::string& key, std::int64_t value);
    void Remove(const std::string& section, const std::string& key);

    std::vector<std::string> Keys(const std::string& section) const;

private:
    std::filesystem::path file_;
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

// A value kept on one line: backslash, CR and LF escaped, and back.
std::string EscapeLineValue(const std::string& value);
std::string UnescapeLineValue(const std::string& value);

// $XDG_CONFIG_HOME/Korvane/Vantelo.conf; section "VanteloSetting".
std::filesystem::path SettingsFilePath();
inline constexpr const char* kSettingsSection = "VanteloSetting";

// $XDG_CONFIG_HOME/Korvane/AppPaths.conf; section "Vantelo.Exe".
std::filesystem::path AppPathsFilePath();

}  // namespace vt
