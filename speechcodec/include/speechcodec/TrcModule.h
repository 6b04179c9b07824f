#pragma once
// libtrc.so loaded by name for one conversion and released at its end, with
// its seven entry points resolved. Loading fails (and holds nothing) unless
// all seven are found.

#include <string>

#include "speechcodec/TrcApi.h"

namespace speechcodec {

class TrcModule {
public:
    static constexpr const char* kLibraryName = "libtrc.so";

    TrcModule() = default;
    ~TrcModule() { Release(); }
    TrcModule(const TrcModule&) = delete;
    TrcModule& operator=(const TrcModule&) = delete;

    // Loads kLibraryName from the folder of the running executable first,
    // then through the normal library search.
    bool Load();
    // Loads the library at path (a name without '/' uses the normal search).
    bool LoadFrom(const std::string& path);
    // Closes the library and clears every entry point.
    void Release();

    bool Loaded() const { return handle_ != nullptr; }
    const std::string& Error() const { return error_; }

    VInitDecoderFn vInitDecoder = nullptr;
    VDecodeFn vDecode = nullptr;
    VSetVolumeFn vSet_volume = nullptr;
    VInitEncoderFn vInitEncoder = nullptr;
    VEncodeFn vEncode = nullptr;
    LsbFn LSB = nullptr;
    HsbFn HSB = nullptr;

private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace speechcodec
