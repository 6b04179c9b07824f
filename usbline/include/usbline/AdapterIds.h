#pragma once
// Which USB devices are adapters: VID:PID pairs (hexadecimal), one a line,
// with '#' comments, in adapters.conf beside the settings file
// ($XDG_CONFIG_HOME/Korvane/adapters.conf) and in /etc/vantelo/adapters.conf.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace usbline {

struct UsbId {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    bool operator==(const UsbId&) const = default;
};

// "1234:abcd", lower-case hexadecimal, four digits each.
std::string FormatUsbId(const UsbId& id);

// The pairs of one file's text, in order, without repeats. A line that is
// not a pair is skipped and described in `problems` (when given) as
// "<source>:<line>: ...".
std::vector<UsbId> ParseAdapterIds(const std::string& text, const std::string& source = {},
                                   std::vector<std::string>* problems = nullptr);

// The user's list, then the system's.
std::vector<std::filesystem::path> AdapterIdFiles();
// Both files' pairs (user's first), without repeats; missing files add none.
std::vector<UsbId> LoadAdapterIds(std::vector<std::string>* problems = nullptr);

// The udev rule that gives the desktop's user access to these devices.
std::string UdevRuleText(const std::vector<UsbId>& ids);

}  // namespace usbline
