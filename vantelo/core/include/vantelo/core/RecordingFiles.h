#pragma once
// Where recordings live: <application folder>/Record/<YYYY-MM-DD>/<HHMMSS>.wav
// (or .vrc for a compressed recording), and what the call log keeps of them.

#include <filesystem>
#include <string>

#include "platform/Clock.h"
#include "vantelo/core/CallRecord.h"

namespace vantelo {

inline constexpr const char* kRecordingRootName = "Record";
inline constexpr const char* kGreetingCallName = "멘트녹음";

// <application folder>/Record
std::filesystem::path RecordingRoot(const std::filesystem::path& appFolder);

// The day folder of the clock's date with its final "/", creating the root
// and the day folder first when missing. A folder that cannot be created is
// not reported here: the recording that follows fails instead.
std::string RecordingFolder(const vt::Clock& clock, const std::filesystem::path& appFolder);

// "HHMMSS.wav" for ModeRecCompress 0, else "HHMMSS.vrc".
std::string RecordingFileName(const vt::Clock& clock, int modeRecCompress);

// What the call keeps of a recording that starts now.
void NoteRecordingStarted(CallRecord& call, const std::string& folder, const std::string& file);

// A greeting recorded from the handset on an idle line: the call is reset
// and becomes kind 4 ...
void BeginGreeting(CallRecord& call, const vt::Clock& clock);
// ... and when it stops, takes its duration, the name "멘트녹음" and the
// compression setting, ready for the call log.
void FinishGreeting(CallRecord& call, const vt::Clock& clock, int modeRecCompress);

// Seconds from the call's start to the clock's time (0 when negative).
long SecondsSince(const CallRecord& call, const vt::Clock& clock);

// The name RecordingFolder gives a day folder: YYYY-MM-DD.
bool IsDayFolderName(const std::string& name);

// Removes <application folder>/Record when it is empty; true when it is gone.
bool RemoveRecordingRootIfEmpty(const std::filesystem::path& appFolder);

// After the call log is emptied: removes the empty day folders (YYYY-MM-DD)
// of <application folder>/Record, then Record itself when nothing else is in
// it; true when Record is gone. Anything with content stays.
bool RemoveEmptyRecordingFolders(const std::filesystem::path& appFolder);

}  // namespace vantelo
