#include "platform/IniStore.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "platform/TextTrim.h"

namespace vt {
namespace fs = std::filesystem;

std::string EscapeLineValue(const std::string& v) {
    std::string out;
    for (char c : v) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string UnescapeLineValue(const std::string& v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            char n = v[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

IniStore::IniStore(fs::path file) : file_(std::move(file)) {}

bool IniStore::Load() {
    sections_.clear();
    std::error_code ec;
    if (!fs::exists(file_, ec)) return true;
    std::ifstream in(file_, std::ios::binary);
    if (!in) return false;
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = TrimBlanks(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        if (t.front() == '[' && t.back() == ']') {
            section = t.substr(1, t.size() - 2);
            sections_[section];
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        sections_[section][TrimBlanks(line.substr(0, eq))] = UnescapeLineValue(line.substr(eq + 1));
    }
    return !in.bad();
}

bool IniStore::Save() const {
    std::ostringstream text;
    for (const auto& [name, keys] : sections_) {
        text << '[' << name << "]\n";
        for (const auto& [key, value] : keys) text << key << '=' << EscapeLineValue(value) << '\n';
        text << '\n';
    }
    return WritePrivateFileAtomically(file_, text.str());
}

bool IniStore::Has(const std::string& section, const std::string& key) const {
    return Get(section, key).has_value();
}

std::optional<std::string> IniStore::Get(const std::string& section, const std::string& key) const {
    auto s = sections_.find(section);
    if (s == sections_.end()) return std::nullopt;
    auto k = s->second.find(key);
    if (k == s->second.end()) return std::nullopt;
    return k->second;
}

std::string IniStore::GetString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    return Get(section, key).value_or(fallback);
}

std::int64_t IniStore::GetInt(const std::string& section, const std::string& key,
                              std::int64_t fallback) const {
    auto v = Get(section, key);
    if (!v) return fallback;
    std::string t = TrimBlanks(*v);
    std::int64_t n = 0;
    auto [end, err] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (err != std::errc() || end != t.data() + t.size() || t.empty()) return fallback;
    return n;
}

void IniStore::SetString(const std::string& section, const std::string& key,
                         const std::string& value) {
    sections_[section][key] = value;
}

void IniStore::SetInt(const std::string& section, const std::string& key, std::int64_t value) {
    sections_[section][key] = std::to_string(value);
}

void IniStore::Remove(const std::string& section, const std::string& key) {
    auto s = sections_.find(section);
    if (s != sections_.end()) s->second.erase(key);
}

std::vector<std::string> IniStore::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    auto s = sections_.find(section);
    if (s != sections_.end())
        for (const auto& kv : s->second) keys.push_back(kv.first);
    return keys;
}

fs::path SettingsFilePath() { return ConfigFolder() / "Korvane" / "Vantelo.conf"; }
fs::path AppPathsFilePath() { return ConfigFolder() / "Korvane" / "AppPaths.conf"; }

}  // namespace vt
