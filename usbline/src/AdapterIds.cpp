#include "usbline/AdapterIds.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "platform/TextTrim.h"
#include "platform/Translate.h"

namespace usbline {

namespace {

bool ParseHex16(const std::string& s, std::uint16_t* value) {
    if (s.empty() || s.size() > 4)
        return false;
    unsigned v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * 16 + static_cast<unsigned>(d);
    }
    *value = static_cast<std::uint16_t>(v);
    return true;
}

void AddUnique(std::vector<UsbId>& ids, const UsbId& id) {
    if (std::find(ids.begin(), ids.end(), id) == ids.end())
        ids.push_back(id);
}

}  // namespace

std::string FormatUsbId(const UsbId& id) {
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", id.vendor, id.product);
    return text;
}

std::vector<UsbId> ParseAdapterIds(const std::string& text, const std::string& source,
                                   std::vector<std::string>* problems) {
    std::vector<UsbId> ids;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string content = vt::TrimBlanks(line.substr(0, line.find('#')));
        if (content.empty())
            continue;
        const auto colon = content.find(':');
        UsbId id;
        if (colon == std::string::npos || !ParseHex16(content.substr(0, colon), &id.vendor) ||
            !ParseHex16(content.substr(colon + 1), &id.product)) {
            if (problems)
                problems->push_back(
                    source + ":" + std::to_string(number) + ": " +
                    vt::Translate("usbline",
                                  QT_TRANSLATE_NOOP("usbline",
                                                    "\"%1\"은(는) VID:PID 쌍(예: 1234:5678)이 "
                                                    "아니어서 건너뜁니다"),
                                  {content}));
            continue;
        }
        AddUnique(ids, id);
    }
    return ids;
}

std::vector<std::filesystem::path> AdapterIdFiles() {
    return {vt::ConfigFolder() / "Korvane" / "adapters.conf", "/etc/vantelo/adapters.conf"};
}

std::vector<UsbId> LoadAdapterIds(std::vector<std::string>* problems) {
    std::vector<UsbId> ids;
    for (const auto& file : AdapterIdFiles()) {
        std::ifstream in(file);
        if (!in)
            continue;
        std::ostringstream text;
        text << in.rdbuf();
        for (const UsbId& id : ParseAdapterIds(text.str(), file.string(), problems))
            AddUnique(ids, id);
    }
    return ids;
}

std::string UdevRuleText(const std::vector<UsbId>& ids) {
    std::string rule =
        "# Vantelo telephone-line adapters: the desktop's user may open them.\n"
        "# Made from the adapter list (adapters.conf); one line per VID:PID.\n";
    char line[200];
    for (const UsbId& id : ids) {
        std::snprintf(line, sizeof line,
                      "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", "
                      "ATTR{idVendor}==\"%04x\", ATTR{idProduct}==\"%04x\", TAG+=\"uaccess\"\n",
                      id.vendor, id.product);
        rule += line;
    }
    return rule;
}

}  // namespace usbline
