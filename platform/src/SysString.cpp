#include "platform/SysString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Layout: [uint32 length][bytes...][NUL]; the BSTR points at the bytes.

extern "C" BSTR SysAllocStringByteLen(const char* data, unsigned int length) {
    auto* block = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + length + 1));
    if (!block) return nullptr;
    std::uint32_t len = length;
    std::memcpy(block, &len, sizeof len);
    char* text = block + sizeof len;
    if (data)
        std::memcpy(text, data, length);
    else
        std::memset(text, 0, length);
    text[length] = '\0';
    return text;
}

extern "C" unsigned int SysStringByteLen(BSTR text) {
    if (!text) return 0;
    std::uint32_t len;
    std::memcpy(&len, text - sizeof len, sizeof len);
    return len;
}

extern "C" void SysFreeString(BSTR text) {
    if (text) std::free(text - sizeof(std::uint32_t));
}
