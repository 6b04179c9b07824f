#include "testsupport/DatabaseFixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

namespace vt::test {

namespace fs = std::filesystem;

std::string QueryText(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 3000);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                if (!out.empty())
                    out += ",";
                const unsigned char* t = sqlite3_column_text(st, 0);
                out += t ? reinterpret_cast<const char*>(t) : "";
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

bool DamageTablePage(const fs::path& file, const std::string& table, int nth, PageDamage damage) {
    QueryText(file, "PRAGMA wal_checkpoint(TRUNCATE)");
    std::string page = QueryText(file, "SELECT pageno FROM dbstat WHERE name = '" + table +
                                           "' AND pagetype = 'leaf' ORDER BY pageno LIMIT 1 "
                                           "OFFSET " +
                                           std::to_string(nth));
    long size = std::atol(QueryText(file, "PRAGMA page_size").c_str());
    if (page.empty() || size <= 0)
        return false;
    // Cells fill a leaf page from its end; its first 1000 bytes hold the
    // header and the cell pointers.
    const long from = damage == PageDamage::Whole ? 0 : 1000;
    std::string garbage(static_cast<size_t>(size - from), '\0');
    std::mt19937 random(12345);
    for (char& c : garbage) c = static_cast<char>(random());
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp((std::atol(page.c_str()) - 1) * size + from);
    f.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    return static_cast<bool>(f);
}

ReadOnlyFolder::ReadOnlyFolder(fs::path folder, Kind kind) : folder_(std::move(folder)) {
    if (::geteuid() != 0) {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec, ec);
        if (!ec)
            how_ = How::Mode;
        else
            why_ = "cannot change the folder's mode: " + ec.message();
        return;
    }
    if (kind == Kind::Mount) {
        if (::mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) == 0) {
            if (::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                        nullptr) == 0) {
                how_ = How::Mounted;
                return;
            }
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
        why_ = std::string("a read-only bind mount is not allowed here: ") + std::strerror(errno);
        return;
    }
    int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags |= FS_IMMUTABLE_FL;
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
            how_ = How::Immutable;
    }
    if (how_ == How::None)
        why_ = std::string("the immutable attribute cannot be set here: ") + std::strerror(errno);
    if (fd >= 0)
        ::close(fd);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    switch (how_) {
        case How::Mounted:
            ::umount2(folder_.c_str(), MNT_DETACH);
            break;
        case How::Immutable: {
            int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
            break;
        }
        case How::Mode: {
            std::error_code ec;
            fs::permissions(folder_, fs::perms::owner_all, ec);
            break;
        }
        case How::None:
            break;
    }
}

}  // namespace vt::test
