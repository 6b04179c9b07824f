#pragma once
// `capture FILE`: what the host plays into the line, written to a file
// exactly as received. Every stream (a playback or an ARS prompt) starts the
// file anew: WAV data (format 0) becomes an 8 kHz mu-law WAV file whose
// header is kept current; compressed records (format 1) are written as they
// come, a compressed recording without header. Files are created 0600.
// Not thread-safe (the model's lock guards it).

#include <cstdint>
#include <string>

namespace linesim {

class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // Names the file (created empty now, so a bad path is refused at once);
    // an error text, empty when done.
    std::string SetPath(const std::string& path);
    void Off();
    bool On() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

    void BeginStream(bool compressed);
    void Append(const std::uint8_t* data, std::uint32_t length);
    std::uint64_t Bytes() const { return bytes_; }

private:
    void Close();

    std::string path_;
    int fd_ = -1;
    bool wav_ = false;
    std::uint64_t bytes_ = 0;
};

}  // namespace linesim
