#include "notify/StoredPassword.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "SecretLookup.h"

namespace notify {

namespace {

PasswordLookup Refused(const std::string& feature, const std::filesystem::path& file,
                       const std::string& why) {
    PasswordLookup r;
    r.error = feature + ": the password file " + file.string() + " " + why;
    return r;
}

std::string Mode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

PasswordLookup ReadPasswordFile(const std::filesystem::path& file, const std::string& feature) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            return Refused(feature, file,
                           "is a symbolic link: name the file itself in PasswordFile");
        return Refused(feature, file, std::string("cannot be read: ") + std::strerror(errno));
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
        return Refused(feature, file, "cannot be read");
    if (!S_ISREG(st.st_mode))
        return Refused(feature, file, "is not a regular file");
    if (st.st_uid != ::geteuid())
        return Refused(feature, file,
                       "belongs to another user: use a file of your own with mode 0600");
    if ((st.st_mode & 077) != 0)
        return Refused(feature, file,
                       "may be read by others (mode " + Mode(st.st_mode) + "): run chmod 600 " +
                           file.string());
    const auto end = text.find_first_of("\r\n");
    PasswordLookup r;
    r.password = text.substr(0, end);
    if (r.password.empty())
        return Refused(feature, file, "is empty: put the password on its first line");
    r.ok = true;
    r.source = file.string();
    return r;
}

PasswordLookup FindStoredPassword(const PasswordPlace& place,
                                  std::chrono::milliseconds secretWait) {
    PasswordLookup r;
    if (place.user.empty()) {
        r.ok = true;
        r.source = "none";
        return r;
    }
    if (auto secret = LookupSecretPassword(place.server, place.user, secretWait)) {
        r.ok = true;
        r.password = std::move(*secret);
        r.source = "secret service";
        return r;
    }
    if (!place.passwordFile.empty())
        return ReadPasswordFile(place.passwordFile, place.feature);
    r.error = place.feature + ": no password for " + place.user +
              ": store it with secret-tool store --label='" + place.label + "' server " +
              place.server + " user " + place.user +
              ", or name a file of mode 0600 in PasswordFile";
    return r;
}

}  // namespace notify
