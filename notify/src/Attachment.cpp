#include "Attachment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "mp3conv/Mp3Conv.h"
#include "platform/Folders.h"
#include "speechcodec/VrcToWav.h"

namespace notify {

namespace fs = std::filesystem;

namespace {

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
        *reason = "the attachment cannot be written: " + std::string(std::strerror(error));
    return ok;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string* reason) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) {
        *reason = "the recording " + from.string() + " cannot be read: " + std::strerror(errno);
        return false;
    }
    std::FILE* out = vt::OpenPrivateFile(to, "wb");
    if (!out) {
        *reason = "the attachment cannot be created: " + std::string(std::strerror(errno));
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
        *reason = "the recording " + from.string() + " cannot be read";
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
        *reason = "the attachment cannot be written: " + std::string(std::strerror(error));
    return ok;
}

const char* DecodeReason(speechcodec::VrcToWavResult result) {
    switch (result) {
        case speechcodec::VrcToWavResult::NoCodec:
            return "the codec library libtrc.so or one of its entry points is missing";
        case speechcodec::VrcToWavResult::CannotRead:
            return "the compressed recording cannot be read";
        case speechcodec::VrcToWavResult::CannotCreate:
            return "the decoded WAV cannot be written (disk full?)";
        default:
            return "decoding failed";
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
        *reason = "the recording " + recording.string() + " is missing";
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
            *reason = DecodeReason(result);
            return false;
        }
        wav = decoded.path;
    }
    if (kind == AttachKind::Mp3) {
        // The library writes under a temporary name of its own and renames.
        const int result = Kvne_WavtoMp3(nullptr, wav.c_str(), temp.path.c_str());
        if (result != kMp3Ok) {
            *reason = std::string("the MP3 cannot be made: ") + Kvne_Mp3ResultText(result);
            return false;
        }
    } else if (wav == decoded.path) {
        fs::rename(decoded.path, temp.path, ec);
        if (ec) {
            *reason = "the attachment cannot be written: " + ec.message();
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
        *reason = "the attachment cannot be written: " + ec.message();
        return false;
    }
    temp.path.clear();
    return true;
}

}  // namespace notify
