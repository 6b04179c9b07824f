// Exports of the codec conversions. They need no open adapter; messages go
// to the window given to TY_StartService (none given: they are dropped and
// the conversion still runs).

#include "SlotAccess.h"
#include "lindev/lindev.h"

using lindev::CLineDevice;
using lindev::OnSlot;

extern "C" {

int TY_Encoder(const char* source, const char* destination, int volume, int rate, int silence,
               int progressScale, int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        return d.Codec().StartEncoder(source, destination, volume, rate, silence, progressScale);
    });
}

int TY_Decoder(const char* source, const char* destination, int volume, int progressScale,
               int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        return d.Codec().StartDecoder(false, source, destination, volume, progressScale);
    });
}

int TY_Decoder1(const char* source, const char* destination, int volume, int progressScale,
                int slot) {
    return OnSlot(slot, 0, [&](CLineDevice& d) {
        return d.Codec().StartDecoder(true, source, destination, volume, progressScale);
    });
}

}  // extern "C"
