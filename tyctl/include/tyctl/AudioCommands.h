#pragma once
// tyctl's audio commands on adapter slot 0: record, play, playsub,
// autodial, redial, ars, firmware, and repair (a WAV header left unfinished
// by a crash).

#include "tyctl/CommandTable.h"

namespace tyctl {

int Record(CommandContext& c);
int Play(CommandContext& c);
int PlaySub(CommandContext& c);
int AutoDial(CommandContext& c);
int Redial(CommandContext& c);
int Ars(CommandContext& c);
int Firmware(CommandContext& c);
int Repair(CommandContext& c);

// The descriptor the interactive commands read lines from (Enter ends a
// recording, pauses or resumes a playback); standard input unless a test
// sets another.
void SetKeyboardInput(int fd);

}  // namespace tyctl
