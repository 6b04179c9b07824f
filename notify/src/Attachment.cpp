#include "Attachment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "mp3conv/Mp3Conv.h"
#include "mp3conv/Mp3FailureReason.h"
#include "platform/Folders.h"
#include "platform/Translate.h"
#include "speechcodec/VrcToWav.h"

namespace notify {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "notify";

std::string CannotWrite(const std::string& why) {
    return vt::Translate(kContext, QT_TRANSLATE_NOOP("notify", "첨부 파일을 쓸 수 없습니다: %1"),
                         {why});
}

std::string CannotRead(const fs::path& recording, const std::string& why = {}) {
    if (why.empty())
        return vt::Translate(kContext,
                             QT_TRANSLATE_NOOP("notify", "녹음 %1을(를) 읽을 수 없습니다"),
                             {recording.string()});
    return vt::Translate(kContext,
                         QT_TRANSLATE_NOOP("notify", "녹음 %1을(를) 읽을 수 없습니다: %2"),
                         {recording.string(), why});
}

bool IsCompressed(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".vrc";
}

// Removes a file however the preparation ends, unless kept.
struct Scratch {
    fs::path path;
    ~Scratch() {
        std::error_code ec;
        if (!path.empty())
            fs::remove(path, ec);
    }
};

// Makes a finished file private and durable: a crash after the item is
// written must not find the attachment empty.
bool SealFile(const fs::path& file, std::string* reason) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        *reason = CannotWrite(std::strerror(error));
    return ok;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string* reason) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) {
        *reason = CannotRead(from, std::strerror(errno));
        return false;
    }
    std::FILE* out = vt::OpenPrivateFile(to, "wb");
    if (!out) {
        *reason =
            vt::Translate(kContext, QT_TRANSLATE_NOOP("notify", "첨부 파일을 만들 수 없습니다: %1"),
                          {std::strerror(errno)});
        std::fclose(in);
        return false;
    }
    char buffer[65536];
    std::size_t n;
    bool ok = true;
    int error = 0;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        ok = std::fwrite(buffer, 1, n, out) == n;
        if (!ok)
            error = errno;
    }
    if (ok && std::ferror(in)) {
        *reason = CannotRead(from);
        std::fclose(in);
        std::fclose(out);
        return false;
    }
    std::fclose(in);
    if (ok && std::fflush(out) != 0) {
        ok = false;
        error = errno;
    }
    if (std::fclose(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        *reason = CannotWrite(std::strerror(error));
    return ok;
}

const char* DecodeReason(speechcodec::VrcToWavResult result) {
    switch (result) {
        case speechcodec::VrcToWavResult::NoCodec:
            return QT_TRANSLATE_NOOP("notify",
                                     "코덱 라이브러리 libtrc.so 또는 그 진입점 중 하나가 없습니다");
        case speechcodec::VrcToWavResult::CannotRead:
            return QT_TRANSLATE_NOOP("notify", "압축된 녹음을 읽을 수 없습니다");
        case speechcodec::VrcToWavResult::CannotCreate:
            return QT_TRANSLATE_NOOP("notify",
                                     "변환한 WAV를 쓸 수 없습니다 (디스크가 가득 찼습니까?)");
        default:
            return QT_TRANSLATE_NOOP("notify", "변환에 실패했습니다");
    }
}

}  // namespace

bool MakeAttachment(const fs::path& recording, AttachKind kind, const fs::path& target,
                    std::string* reason) {
    std::string scratch;
    if (!reason)
        reason = &scratch;
    std::error_code ec;
    if (!fs::is_regular_file(recording, ec)) {
        *reason = vt::Translate(kContext, QT_TRANSLATE_NOOP("notify", "녹음 %1이(가) 없습니다"),
                                {recording.string()});
        return false;
    }
    Scratch temp{fs::path(target.string() + ".part")};
    Scratch decoded;
    fs::path wav = recording;
    if (IsCompressed(recording)) {
        decoded.path = target.string() + ".decoded.part";
        // Made private before the decoder writes into it.
        std::FILE* f = vt::OpenPrivateFile(decoded.path, "wb");
        if (f)
            std::fclose(f);
        const auto result =
            speechcodec::ConvertVrcToWav({recording.string(), decoded.path.string()}, {}, nullptr);
        if (result != speechcodec::VrcToWavResult::Ok) {
            *reason = vt::Translate(kContext, DecodeReason(result));
            return false;
        }
        wav = decoded.path;
    }
    if (kind == AttachKind::Mp3) {
        // The library writes under a temporary name of its own and renames.
        const int result = Kvne_WavtoMp3(nullptr, wav.c_str(), temp.path.c_str());
        if (result != kMp3Ok) {
            *reason = vt::Translate(
                kContext, QT_TRANSLATE_NOOP("notify", "MP3를 만들 수 없습니다: %1"),
                {vt::Translate(mp3conv::kReasonContext, mp3conv::Mp3FailureReason(result))});
            return false;
        }
    } else if (wav == decoded.path) {
        fs::rename(decoded.path, temp.path, ec);
        if (ec) {
            *reason = CannotWrite(ec.message());
            return false;
        }
        decoded.path.clear();
    } else if (!CopyFile(wav, temp.path, reason)) {
        return false;
    }
    if (!SealFile(temp.path, reason))
        return false;
    fs::rename(temp.path, target, ec);
    if (ec) {
        *reason = CannotWrite(ec.message());
        return false;
    }
    temp.path.clear();
    return true;
}

}  // namespace notify
