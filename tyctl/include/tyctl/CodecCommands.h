#pragma once
// The codec commands of tyctl: liblindev's conversions on slot 0, which need
// no adapter. Each prints "progress N" (0..100) whenever the conversion
// advances and "done C" with its done code; exit 0 only for done code 0.

#include "tyctl/CommandTable.h"

namespace tyctl {

// encode SRC.wav DST.vrc [RATE] [SILENCE]
int Encode(CommandContext& c);
// decode SRC.vrc DST.wav (16-bit PCM)
int Decode(CommandContext& c);
// decode-ulaw SRC.vrc DST.wav (G.711 mu-law)
int DecodeUlaw(CommandContext& c);

}  // namespace tyctl
