#include "notify/MailPassword.h"

namespace notify {

PasswordLookup FindMailPassword(const MailSettings& settings,
                                std::chrono::milliseconds secretWait) {
    return FindStoredPassword({.feature = "mail",
                               .label = "Vantelo mail",
                               .server = settings.server,
                               .user = settings.user,
                               .passwordFile = settings.passwordFile},
                              secretWait);
}

}  // namespace notify
