#pragma once
// "%1" .. "%9" in a text replaced by its arguments. Header-only, so the
// libraries that must not link vtplatform (the codec's) fill their texts the
// same way as vt::Translate.

#include <cstddef>
#include <initializer_list>
#include <string>

namespace vt {

// `pattern` with each "%N" replaced by args[N-1], all at once (a "%2" inside
// the first argument stays as it is); a "%N" without an argument stays too.
inline std::string FillTextArgs(const std::string& pattern,
                                std::initializer_list<std::string> args) {
    const std::string* a = args.begin();
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += a[index];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace vt
