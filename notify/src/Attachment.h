#pragma once
// A message's recording prepared for mailing: MP3 through mp3conv or a WAV
// copy; a compressed recording (.vrc) is decoded to WAV first, as the player
// does. The result is flushed to the disk, mode 0600.

#include <filesystem>
#include <string>

#include "notify/MailSettings.h"

namespace notify {

// Writes `target` (through a temporary name beside it) from `recording`.
// False with a reason, and then neither the target nor a temporary file is
// left.
bool MakeAttachment(const std::filesystem::path& recording, AttachKind kind,
                    const std::filesystem::path& target, std::string* reason);

}  // namespace notify
