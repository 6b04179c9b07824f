#pragma once
// The call in progress, kept in a small file of the application folder so
// that a pulled cable, a killed program or a power cut never loses it. The
// phone writes it when a call starts and at each change (and every few
// seconds as a sign of life), and removes it once the call is in the call
// log. A call the store refused is set aside under a name of its own and
// logged at the next start. Files are private (0600) and replaced
// atomically, so a crash leaves the old journal or the new one, never half.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "vantelo/core/CallRecord.h"

namespace vantelo {

struct JournalEntry {
    CallRecord call;  // as far as known; CallTime is set when it is logged
    // What the phone needs to take the call up again.
    std::string callerNumber;
    std::string dialledNumber;
    std::string lineDigits;
    bool appDialled = false;
    bool innerLine = false;
    bool connected = false;
    bool recording = false;  // a recording of the call was running
    bool engaged = false;    // the answering machine had the call
    int absenceLevel = 0;
    // The call had ended and was complete (CallTime set); only the store
    // refused it.
    bool finished = false;
    vt::LocalTime lastAlive;  // the last moment the program knew the call ran

    // The journal's text; equal texts are equal entries.
    std::string Text() const;
    static std::optional<JournalEntry> Parse(const std::string& text);
};

class CallJournal {
public:
    static constexpr const char* kFileName = "CallJournal.txt";
    static constexpr const char* kSetAsidePrefix = "CallJournal-";

    explicit CallJournal(std::filesystem::path appFolder);

    // Writes the entry unless the file already holds exactly it.
    bool Write(const JournalEntry& entry);
    // The journal of the call in progress, if a valid one is there.
    std::optional<JournalEntry> Read() const;
    bool Exists() const;
    void Remove();
    // Keeps the current journal as a finished call still to be logged.
    bool SetAside(const vt::Clock& clock);
    // Set-aside journals, oldest first.
    std::vector<std::filesystem::path> SetAsideFiles() const;
    static std::optional<JournalEntry> ReadFile(const std::filesystem::path& file);

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::string written_;  // the text this process last wrote
};

// The seconds a call ran as far as the evidence goes: from its start to the
// later of its last sign of life and its recording's last write.
long InterruptedCallSeconds(const JournalEntry& entry);

// A mu-law WAV recording whose program died before it wrote the lengths:
// the header is made to tell what the file holds. False when the file is no
// such recording or cannot be mended.
bool MendWavLengths(const std::filesystem::path& file);

// Keeps the first `audioBytes` bytes of a recording's sound (after the
// header of a mu-law .wav, whose lengths are then mended; a .vrc is cut at
// that byte). A file that holds no more is left as it is. False when the
// file is no such recording or cannot be cut.
bool CutRecording(const std::filesystem::path& file, std::uint64_t audioBytes);

// Appends the sound of `rest` to `first` (two .vrc files, or two mu-law
// .wav files whose header is mended) and removes `rest`. False, with both
// files as they were, when they cannot be joined.
bool JoinRecordings(const std::filesystem::path& first, const std::filesystem::path& rest);

}  // namespace vantelo
