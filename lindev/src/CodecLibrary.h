#pragma once
// Where the codec conversions (TY_Encoder, TY_Decoder, TY_Decoder1) load the
// speech codec from. Every conversion loads it when it starts and releases
// it when it ends, so a change applies to the next conversion.

#include <string>

namespace lindev {

// Empty (the default): libtrc.so beside the running executable first, then
// the normal library search. Any other path is loaded as given; tests use it
// to run a conversion with the library missing or incomplete.
void SetCodecLibraryPath(std::string path);
std::string CodecLibraryPath();

}  // namespace lindev
