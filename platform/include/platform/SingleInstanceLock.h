#pragma once
// A named single-instance lock: an exclusive flock on
// <RuntimeFolder()>/<name>.lock held for the life of the object. The lock
// file is opened without following a symlink, made 0600.

#include <filesystem>
#include <string>

namespace vt {

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(std::string name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True if this object now holds the lock (also when it already did);
    // false if another holder has it or the lock file cannot be made (no
    // private runtime folder, a symlink in its place).
    bool Acquire();
    void Release();
    bool Held() const { return fd_ >= 0; }
    // Held, and the file at LockFile() is still the one locked (false once
    // the runtime folder was removed or the file replaced underneath).
    bool StillHeld() const;

    // Empty when there is no private runtime folder.
    std::filesystem::path LockFile() const;

private:
    std::string name_;
    int fd_ = -1;
};

}  // namespace vt
