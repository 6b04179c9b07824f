#include "speechcodec/VrcFormat.h"

namespace speechcodec {

RecordKind KindOf(std::uint8_t firstByte) {
    switch (firstByte & 0xE0) {
        case 0x00:
        case 0x20:
            return RecordKind::Coded11;
        case 0x40:
        case 0x60:
            return RecordKind::Coded18;
        case 0x80:
        case 0xA0:
            return RecordKind::Coded24;
        case 0xC0:
            return RecordKind::ComfortNoise;
        default:
            return RecordKind::SilenceRun;
    }
}

std::size_t RecordLength(RecordKind kind) {
    switch (kind) {
        case RecordKind::Coded11:
            return 11;
        case RecordKind::Coded18:
            return 18;
        case RecordKind::Coded24:
            return 24;
        case RecordKind::ComfortNoise:
            return 4;
        case RecordKind::SilenceRun:
            break;
    }
    return 2;
}

std::size_t RecordLength(std::uint8_t firstByte) {
    return RecordLength(KindOf(firstByte));
}

std::uint32_t SilenceRunFrames(std::uint8_t byte0, std::uint8_t byte1) {
    const std::uint32_t high = static_cast<std::uint32_t>(byte0 - kKindByteRun) & 0x1F;
    return high * 10 + byte1 + 1;
}

bool WriteSilenceRun(std::uint32_t frames, std::uint8_t out[2]) {
    if (frames == 0 || frames > kMaxRunFrames)
        return false;
    const std::uint32_t c = frames - 1;
    if (frames <= 256) {
        out[0] = kKindByteRun;
        out[1] = static_cast<std::uint8_t>(c);
    } else {
        // The tens go in the first byte above 0xE0 and the units in the second.
        out[0] = static_cast<std::uint8_t>((c / 10 - 0x20) & 0xFF);
        out[1] = static_cast<std::uint8_t>(c % 10);
    }
    return true;
}

}  // namespace speechcodec
