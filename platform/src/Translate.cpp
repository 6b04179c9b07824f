#include "platform/Translate.h"

#include "platform/TextArgs.h"

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
    return FillTextArgs(Translate(context, text), args);
}

}  // namespace vt
