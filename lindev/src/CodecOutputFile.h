#pragma once
// The destination of a conversion: written under a temporary name beside it
// (created 0600) through a large buffer, its header rewritten at the end,
// and renamed to the destination when closed; removed instead when the
// conversion fails, so a failed or stopped conversion never leaves a
// half-written file that looks whole, nor replaces another one's.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace lindev {

class CodecOutputFile {
public:
    CodecOutputFile() = default;
    // Discards a file that was neither closed nor discarded.
    ~CodecOutputFile();
    CodecOutputFile(const CodecOutputFile&) = delete;
    CodecOutputFile& operator=(const CodecOutputFile&) = delete;

    bool Create(const char* path);
    bool Write(const std::uint8_t* data, std::size_t size);
    // Overwrites the first bytes (the header) and returns to the end.
    bool RewriteStart(const std::uint8_t* data, std::size_t size);
    // Flushes and closes; false (and the file removed) when that fails.
    bool Close();
    void Discard();

    // The file system's reason for the last failure.
    const std::string& Error() const { return error_; }

private:
    bool Failed(const char* what);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string tempPath_;
    std::string error_;
};

}  // namespace lindev
