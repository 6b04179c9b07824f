#pragma once
// `vanplay --to-mp3 FILE...`: each file exported to the MP3 beside it
// (a compressed recording is decoded first, into a private temporary file
// that is removed afterwards). One progress line per file on `out`, a
// reason on `err` for each failure.

#include <cstdio>
#include <string>
#include <vector>

namespace vanplay {

class BatchExport {
public:
    BatchExport(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

    // 0 when every file was exported, 1 when any failed.
    int Run(const std::vector<std::string>& files);
    // One file; true on success (the reason is printed otherwise).
    bool ExportOne(const std::string& file);

private:
    void Fail(const std::string& file, const std::string& reason);

    std::FILE* out_;
    std::FILE* err_;
};

}  // namespace vanplay
