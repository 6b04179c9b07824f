#include "CodecOutputFile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lindev {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

CodecOutputFile::~CodecOutputFile() {
    Discard();
}

bool CodecOutputFile::Failed(const char* what) {
    error_ = std::string(what) + " " + path_ + ": " + std::strerror(errno);
    return false;
}

bool CodecOutputFile::Create(const char* path) {
    Discard();
    path_ = path;
    // Written under a private temporary name beside the destination and
    // renamed when whole, so a half-written file never takes its place.
    std::string temp = path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Failed("cannot create");
    tempPath_ = temp;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        std::remove(tempPath_.c_str());
        return Failed("cannot create");
    }
    std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
    return true;
}

bool CodecOutputFile::Write(const std::uint8_t* data, std::size_t size) {
    if (!file_)
        return false;
    if (std::fwrite(data, 1, size, file_) != size)
        return Failed("cannot write");
    return true;
}

bool CodecOutputFile::RewriteStart(const std::uint8_t* data, std::size_t size) {
    if (!file_)
        return false;
    if (std::fseek(file_, 0, SEEK_SET) != 0)
        return Failed("cannot seek in");
    if (!Write(data, size))
        return false;
    if (std::fseek(file_, 0, SEEK_END) != 0)
        return Failed("cannot seek in");
    return true;
}

bool CodecOutputFile::Close() {
    if (!file_)
        return false;
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed)
        Failed("cannot write");
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (flushed && !closed)
        Failed("cannot close");
    if (flushed && closed) {
        if (std::rename(tempPath_.c_str(), path_.c_str()) == 0)
            return true;
        Failed("cannot rename the finished file to");
    }
    std::remove(tempPath_.c_str());
    return false;
}

void CodecOutputFile::Discard() {
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(tempPath_.c_str());
}

}  // namespace lindev
