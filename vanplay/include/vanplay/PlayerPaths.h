#pragma once
// How the player names files: kinds by the last three characters, the
// decoded WAV and the exported MP3.

#include <filesystem>
#include <optional>
#include <string>

namespace vanplay {

// The last three characters, lower-cased, are "vrc".
bool IsCompressed(const std::string& path);

// The text after the last '/' (the whole path if there is none).
std::string FileNamePart(const std::string& path);

// The path with its extension replaced: the last three characters when the
// path ends in ".xyz", else `ext` appended after a dot ("call.vrc" ->
// "call.mp3", "call" -> "call.mp3").
std::string WithExtension(const std::string& path, const std::string& ext);

// Where the export of `currentFile` goes: beside it, named as the export
// names it (".mp3" in place of its extension).
std::string Mp3PathFor(const std::string& currentFile);

// Creates, exclusively, the file a recording is decoded into: the WAV of
// the same name beside it when no such file exists (and the folder is
// writable), else a private temporary file. An existing file is never
// taken over. nullopt when not even a temporary file can be made.
std::optional<std::filesystem::path> ClaimDecodedFile(const std::string& recording);

// A new private temporary file (created, empty) named after `hint`.
std::optional<std::filesystem::path> MakePrivateTempFile(const std::string& hint);

}  // namespace vanplay
