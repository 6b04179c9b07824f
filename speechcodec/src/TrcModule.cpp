#include "speechcodec/TrcModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace speechcodec {
namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& fn, std::string& error) {
    fn = reinterpret_cast<Fn>(::dlsym(handle, name));
    if (!fn)
        error = std::string("libtrc.so has no entry point ") + name;
    return fn != nullptr;
}

}  // namespace

bool TrcModule::Load() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto beside = exe.parent_path() / kLibraryName;
        if (std::filesystem::exists(beside, ec) && LoadFrom(beside.string()))
            return true;
    }
    return LoadFrom(kLibraryName);
}

bool TrcModule::LoadFrom(const std::string& path) {
    Release();
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = ::dlerror();
        error_ = why ? why : "cannot load " + path;
        return false;
    }
    error_.clear();
    const bool all = Resolve(handle_, "vInitDecoder", vInitDecoder, error_) &&
                     Resolve(handle_, "vDecode", vDecode, error_) &&
                     Resolve(handle_, "vSet_volume", vSet_volume, error_) &&
                     Resolve(handle_, "vInitEncoder", vInitEncoder, error_) &&
                     Resolve(handle_, "vEncode", vEncode, error_) &&
                     Resolve(handle_, "LSB", LSB, error_) && Resolve(handle_, "HSB", HSB, error_);
    if (!all) {
        const std::string why = error_;
        Release();
        error_ = why;
    }
    return all;
}

void TrcModule::Release() {
    if (handle_)
        ::dlclose(handle_);
    handle_ = nullptr;
    vInitDecoder = nullptr;
    vDecode = nullptr;
    vSet_volume = nullptr;
    vInitEncoder = nullptr;
    vEncode = nullptr;
    LSB = nullptr;
    HSB = nullptr;
}

}  // namespace speechcodec
