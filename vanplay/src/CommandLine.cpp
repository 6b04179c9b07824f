#include "vanplay/CommandLine.h"

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
            cl.error = "--to-mp3 needs at least one file";
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

const char* CommandLine::Usage() {
    return "usage: vanplay [FILE]\n"
           "       vanplay --to-mp3 FILE...\n"
           "Plays a recording (.wav, or compressed .vrc) or, with --to-mp3, exports\n"
           "each FILE to an MP3 beside it (call.vrc -> call.mp3).\n";
}

}  // namespace vanplay
