#include "notify/MailPassword.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "SecretLookup.h"

namespace notify {

namespace {

PasswordLookup Refused(const std::string& purpose, const std::filesystem::path& file,
                       const std::string& why) {
    PasswordLookup r;
    r.error = purpose + ": the password file " + file.string() + " " + why;
    return r;
}

std::string Mode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

PasswordLookup ReadPasswordFile(const std::filesystem::path& file, const std::string& purpose) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            return Refused(purpose, file,
                           "is a symbolic link: name the file itself in PasswordFile");
        return Refused(purpose, file, std::string("cannot be read: ") + std::strerror(errno));
    }
    struct stat st {};
    std::string text;
    bool readOk = ::fstat(fd, &st) == 0;
    if (readOk && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0) {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < 65536)
            text.append(buffer, static_cast<std::size_t>(n));
        readOk = n == 0 || text.size() >= 65536;
    }
    ::close(fd);
    if (!readOk)
        return Refused(purpose, file, "cannot be read");
    if (!S_ISREG(st.st_mode))
        return Refused(purpose, file, "is not a regular file");
    if (st.st_uid != ::geteuid())
        return Refused(purpose, file,
                       "belongs to another user: use a file of your own with mode 0600");
    if ((st.st_mode & 077) != 0)
        return Refused(purpose, file,
                       "may be read by others (mode " + Mode(st.st_mode) + "): run chmod 600 " +
                           file.string());
    const auto end = text.find_first_of("\r\n");
    PasswordLookup r;
    r.password = text.substr(0, end);
    if (r.password.empty())
        return Refused(purpose, file, "is empty: put the password on its first line");
    r.ok = true;
    r.source = file.string();
    return r;
}

PasswordLookup FindPassword(const PasswordSource& source, std::chrono::milliseconds secretWait) {
    PasswordLookup r;
    if (source.user.empty()) {
        r.ok = true;
        r.source = "none";
        return r;
    }
    if (auto secret = LookupSecretPassword(source.server, source.user, secretWait)) {
        r.ok = true;
        r.password = std::move(*secret);
        r.source = "secret service";
        return r;
    }
    if (!source.passwordFile.empty())
        return ReadPasswordFile(source.passwordFile, source.purpose);
    r.error = source.purpose + ": no password for " + source.user +
              ": store it with secret-tool store --label='" + source.label + "' server " +
              source.server + " user " + source.user +
              ", or name a file of mode 0600 in PasswordFile";
    return r;
}

PasswordLookup FindMailPassword(const MailSettings& settings,
                                std::chrono::milliseconds secretWait) {
    return FindPassword(
        {"mail", "Vantelo mail", settings.server, settings.user, settings.passwordFile},
        secretWait);
}

}  // namespace notify
