#include "callerid/CallerIdSettings.h"

namespace callerid {

std::string ServerSetting(const vt::IniStore& settings) {
    return settings.GetString(vt::kSettingsSection, kServerKey);
}

}  // namespace callerid
