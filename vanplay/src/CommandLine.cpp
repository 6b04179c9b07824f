#include "vanplay/CommandLine.h"

#include "i18n/Translations.h"

namespace vanplay {

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine cl;
    if (args.empty())
        return cl;
    if (args[0] == "--help" || args[0] == "-h") {
        cl.mode = Mode::Help;
        return cl;
    }
    if (args[0] == "--to-mp3") {
        cl.files.assign(args.begin() + 1, args.end());
        cl.mode = cl.files.empty() ? Mode::Error : Mode::ToMp3;
        if (cl.files.empty())
            cl.error = vt::i18n::Tr(
                "vanplay",
                QT_TRANSLATE_NOOP("vanplay", "--to-mp3에는 파일이 하나 이상 필요합니다"));
        return cl;
    }
    std::size_t first = 0;
    if (args[0] == "--")
        first = 1;  // a path that starts with '-'
    for (std::size_t i = first; i < args.size(); ++i) {
        if (i > first)
            cl.file += ' ';
        cl.file += args[i];
    }
    return cl;
}

std::string CommandLine::Usage() {
    return vt::i18n::Tr(
        "vanplay", QT_TRANSLATE_NOOP("vanplay",
                                     "사용법: vanplay [파일]\n"
                                     "       vanplay --to-mp3 파일...\n"
                                     "녹음(.wav 또는 압축된 .vrc)을 재생하거나, --to-mp3와 함께 "
                                     "각 파일을\n"
                                     "그 옆의 MP3로 내보냅니다(call.vrc -> call.mp3).\n"));
}

}  // namespace vanplay
