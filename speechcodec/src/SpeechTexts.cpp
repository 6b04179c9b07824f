#include "speechcodec/SpeechTexts.h"

#include "platform/TextArgs.h"

namespace speechcodec {

namespace {

TextTranslator g_translator = nullptr;

}  // namespace

void SetTextTranslator(TextTranslator translator) {
    g_translator = translator;
}

std::string SpeechText(const char* korean, std::initializer_list<std::string> args) {
    return vt::FillTextArgs(g_translator ? g_translator(kTextContext, korean) : korean, args);
}

}  // namespace speechcodec
