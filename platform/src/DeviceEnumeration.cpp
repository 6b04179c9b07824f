#include "platform/DeviceEnumeration.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <utility>

#include "platform/Folders.h"

namespace vt {
namespace fs = std::filesystem;

namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::vector<std::string>& InProcessDevices() {
    static std::vector<std::string> devices;
    return devices;
}

bool IsSocket(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

}  // namespace

fs::path DeviceSocketFolder() {
    const fs::path runtime = RuntimeFolder();
    if (runtime.empty()) return {};
    fs::path folder = runtime / "tyline";
    EnsureFolder(folder, 0700);
    return folder;
}

namespace {

// Never a relative path: without a runtime folder there is no socket.
fs::path SocketIn(const fs::path& folder, const std::string& name) {
    return folder.empty() ? fs::path() : folder / name;
}

}  // namespace

fs::path DeviceSocketPath(int adapterId) {
    return SocketIn(DeviceSocketFolder(), "sim" + std::to_string(adapterId) + ".dev");
}

fs::path ControlSocketPath(int adapterId) {
    return SocketIn(DeviceSocketFolder(), "sim" + std::to_string(adapterId) + ".ctl");
}

namespace {

std::atomic<DeviceLister>& RealLister() {
    static std::atomic<DeviceLister> lister{nullptr};
    return lister;
}

}  // namespace

void SetRealDeviceLister(DeviceLister lister) {
    RealLister().store(lister);
}

std::vector<std::string> EnumerateDeviceInterfaces() {
    std::vector<std::string> paths;
    if (const DeviceLister lister = RealLister().load()) paths = lister();
    {
        std::lock_guard lock(RegistryMutex());
        const auto& inProcess = InProcessDevices();
        paths.insert(paths.end(), inProcess.begin(), inProcess.end());
    }
    std::vector<std::pair<long, std::string>> simulated;
    std::error_code ec;
    const fs::path folder = DeviceSocketFolder();
    if (folder.empty()) return paths;  // no private runtime folder: no simulated adapter
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        // sim<N>.dev with N all digits
        if (name.size() < 8 || name.rfind("sim", 0) != 0 || name.substr(name.size() - 4) != ".dev")
            continue;
        const std::string digits = name.substr(3, name.size() - 7);
        if (digits.empty() || digits.size() > 6 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (IsSocket(entry.path())) simulated.emplace_back(std::stol(digits), entry.path().string());
    }
    std::sort(simulated.begin(), simulated.end());
    for (auto& s : simulated) paths.push_back(std::move(s.second));
    return paths;
}

void RegisterDeviceInterface(const std::string& path) {
    std::lock_guard lock(RegistryMutex());
    auto& d = InProcessDevices();
    if (std::find(d.begin(), d.end(), path) == d.end()) d.push_back(path);
}

void UnregisterDeviceInterface(const std::string& path) {
    std::lock_guard lock(RegistryMutex());
    auto& d = InProcessDevices();
    d.erase(std::remove(d.begin(), d.end(), path), d.end());
}

}  // namespace vt
