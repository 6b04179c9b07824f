#pragma once
// A recording the phone's answering machine took is a message; played here it
// is heard, so the phone stops counting it as new. The mark goes into the
// phone's database in the application folder; a folder without one (the phone
// never ran) is left alone, and a file that is no message changes nothing.

#include <filesystem>

namespace vanplay {

// True when `file` was a message's recording and is now marked heard.
bool MarkMessageHeard(const std::filesystem::path& file);

}  // namespace vanplay
