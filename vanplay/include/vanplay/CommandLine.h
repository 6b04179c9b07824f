#pragma once
// The player's command line:
//   vanplay [FILE]              play FILE (every argument together is the
//                               path, so an unquoted path with spaces opens)
//   vanplay --to-mp3 FILE...    export each FILE to MP3 without a window
//   vanplay --help

#include <string>
#include <vector>

namespace vanplay {

struct CommandLine {
    enum class Mode { Play, ToMp3, Help, Error };
    Mode mode = Mode::Play;
    std::string file;                // Play: empty when none was given
    std::vector<std::string> files;  // ToMp3
    std::string error;               // Error

    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();  // in the loaded language
};

}  // namespace vanplay
