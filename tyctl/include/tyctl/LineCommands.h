#pragma once
// The line commands of tyctl. Each one-shot command opens the adapter,
// acts, and closes it again; another process serving the same adapter sees
// the effect on the line.

#include "tyctl/CommandTable.h"

namespace tyctl {

int Monitor(CommandContext& c);
int HookOff(CommandContext& c);
int HookOn(CommandContext& c);
int Send(CommandContext& c);
int Flash(CommandContext& c);
int Mute(CommandContext& c);
int Volume(CommandContext& c);
int State(CommandContext& c);
int CallerId(CommandContext& c);
int Version(CommandContext& c);
int Serial(CommandContext& c);
int Headset(CommandContext& c);

}  // namespace tyctl
