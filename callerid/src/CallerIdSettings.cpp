#include "callerid/CallerIdSettings.h"

#include <unistd.h>

namespace callerid {

std::string ServerSetting(const vt::IniStore& settings) {
    return settings.GetString(vt::kSettingsSection, kServerKey);
}

std::string DeskName(const vt::IniStore& settings) {
    std::string name = settings.GetString(vt::kSettingsSection, kDeskNameKey);
    if (!name.empty())
        return name;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        name = host;
    return name.empty() ? std::string("Vantelo") : name;
}

}  // namespace callerid
