#include "platform/Translate.h"

#include <vector>

namespace vt {

namespace {

Translator g_translator = nullptr;

}  // namespace

void SetTranslator(Translator translator) {
    g_translator = translator;
}

std::string Translate(const char* context, const char* text) {
    return g_translator ? g_translator(context, text) : std::string(text);
}

std::string Translate(const char* context, const char* text,
                      std::initializer_list<std::string> args) {
    const std::string pattern = Translate(context, text);
    const std::vector<std::string> a(args);
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < a.size()) {
            out += a[index];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace vt
