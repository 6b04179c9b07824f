#include "linesim/CaptureFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "speechcodec/WavHeader.h"

namespace linesim {

namespace {

int CreateFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

CaptureFile::~CaptureFile() { Close(); }

void CaptureFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::string CaptureFile::SetPath(const std::string& path) {
    Close();
    path_.clear();
    bytes_ = 0;
    const int fd = CreateFile(path);
    if (fd < 0) return "cannot create " + path + ": " + std::strerror(errno);
    fd_ = fd;
    path_ = path;
    wav_ = false;
    return {};
}

void CaptureFile::Off() {
    Close();
    path_.clear();
}

void CaptureFile::BeginStream(bool compressed) {
    if (!On()) return;
    Close();
    fd_ = CreateFile(path_);
    bytes_ = 0;
    wav_ = !compressed;
    if (fd_ >= 0 && wav_) {
        const auto header = speechcodec::WavHeader::Make(speechcodec::WavEncoding::MuLaw, 0);
        WriteAll(fd_, header.data(), header.size());
    }
}

void CaptureFile::Append(const std::uint8_t* data, std::uint32_t length) {
    if (fd_ < 0 || length == 0) return;
    if (!WriteAll(fd_, data, length)) return;
    bytes_ += length;
    if (wav_) {
        const auto header = speechcodec::WavHeader::Make(speechcodec::WavEncoding::MuLaw,
                                                         static_cast<std::uint32_t>(bytes_));
        [[maybe_unused]] ssize_t n = ::pwrite(fd_, header.data(), header.size(), 0);
    }
}

}  // namespace linesim
