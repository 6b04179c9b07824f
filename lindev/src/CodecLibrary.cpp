#include "CodecLibrary.h"

#include <mutex>

namespace lindev {

namespace {

std::mutex g_mutex;
std::string g_path;

}  // namespace

void SetCodecLibraryPath(std::string path) {
    std::lock_guard lock(g_mutex);
    g_path = std::move(path);
}

std::string CodecLibraryPath() {
    std::lock_guard lock(g_mutex);
    return g_path;
}

}  // namespace lindev
