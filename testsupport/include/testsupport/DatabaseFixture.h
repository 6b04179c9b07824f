#pragma once
// Database files that tests damage or make unwritable themselves.

#include <filesystem>
#include <string>

namespace vt::test {

// Runs one statement on the file (its own connection) and returns the rows'
// first column joined with ","; empty on an error.
std::string QueryText(const std::filesystem::path& file, const std::string& sql);

enum class PageDamage {
    Whole,  // the whole page overwritten with garbage
    Cells,  // header and cell pointers kept, the records' bytes garbage
};

// Overwrites the `nth` leaf page of `table` (0-based, in page order) after
// folding the write-ahead log into the file. Returns false when the table
// has no such page.
bool DamageTablePage(const std::filesystem::path& file, const std::string& table, int nth,
                     PageDamage damage);

// Makes a folder read-only for the life of the object, in the strongest way
// this process may: as root a read-only bind mount over it (or, where
// mounting is not allowed, the immutable attribute, which keeps the files in
// it writable); otherwise its mode. Active() tells whether it worked; Why()
// says what was tried when it did not.
class ReadOnlyFolder {
public:
    enum class Kind { Mount, Folder };
    ReadOnlyFolder(std::filesystem::path folder, Kind kind);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Active() const { return how_ != How::None; }
    const std::string& Why() const { return why_; }

private:
    enum class How { None, Mounted, Immutable, Mode };
    std::filesystem::path folder_;
    How how_ = How::None;
    std::string why_;
};

}  // namespace vt::test
