#pragma once
// The answering machine's prompts and default greeting out of the box: the
// program ships them (8 kHz mu-law WAV) and puts each one that is missing
// into m_ARSfile/ of the application folder. A file already there, the
// user's own, is never replaced.

#include <filesystem>
#include <string>

namespace vantelo {

class PromptInstaller {
public:
    // <executable folder>/../share/vantelo/prompts (build tree and install).
    static std::filesystem::path ShippedFolder();

    // Copies what is missing; empty on success, else one line saying what
    // could not be copied. Nothing shipped is no error.
    static std::string Install(const std::filesystem::path& appFolder,
                               const std::filesystem::path& shipped = ShippedFolder());
};

}  // namespace vantelo
