#include "notify/StoredPassword.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "SecretLookup.h"
#include "platform/Translate.h"

namespace notify {

namespace {

constexpr const char* kContext = "notify";

// `why` is a catalog text whose %1 is the file and %2 `detail`.
PasswordLookup Refused(const std::string& feature, const std::filesystem::path& file,
                       const char* why, const std::string& detail = {}) {
    PasswordLookup r;
    r.error = feature + ": " + vt::Translate(kContext, why, {file.string(), detail});
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
                           QT_TRANSLATE_NOOP("notify",
                                             "비밀번호 파일 %1은(는) 심볼릭 링크입니다: "
                                             "PasswordFile에 파일 자체를 적으십시오"));
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify", "비밀번호 파일 %1을(를) 읽을 수 없습니다: %2"),
                       std::strerror(errno));
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
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify", "비밀번호 파일 %1을(를) 읽을 수 없습니다"));
    if (!S_ISREG(st.st_mode))
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify", "비밀번호 파일 %1은(는) 일반 파일이 아닙니다"));
    if (st.st_uid != ::geteuid())
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify",
                                         "비밀번호 파일 %1은(는) 다른 사용자의 것입니다: "
                                         "모드 0600인 자기 파일을 쓰십시오"));
    if ((st.st_mode & 077) != 0)
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify",
                                         "비밀번호 파일 %1을(를) 다른 사람이 읽을 수 "
                                         "있습니다 (모드 %2): chmod 600 %1을(를) "
                                         "실행하십시오"),
                       Mode(st.st_mode));
    const auto end = text.find_first_of("\r\n");
    PasswordLookup r;
    r.password = text.substr(0, end);
    if (r.password.empty())
        return Refused(feature, file,
                       QT_TRANSLATE_NOOP("notify",
                                         "비밀번호 파일 %1이(가) 비어 있습니다: 첫 줄에 "
                                         "비밀번호를 적으십시오"));
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
    r.error = place.feature + ": " +
              vt::Translate(kContext,
                            QT_TRANSLATE_NOOP("notify",
                                              "%1의 비밀번호가 없습니다: secret-tool store "
                                              "--label='%2' server %3 user %1(으)로 저장하거나, "
                                              "PasswordFile에 모드 0600인 파일을 적으십시오"),
                            {place.user, place.label, place.server});
    return r;
}

}  // namespace notify
