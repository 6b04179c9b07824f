#include "tyctl/CommandTable.h"

#include "tyctl/AdapterCommands.h"
#include "tyctl/AudioCommands.h"
#include "tyctl/CodecCommands.h"
#include "tyctl/LineCommands.h"

namespace tyctl {

const std::vector<Command>& CommandTable::Commands() {
    static const std::vector<Command> kCommands = {
        {"monitor", "", "print every line event until Ctrl+C", Monitor},
        {"adapters", "[--udev-rule]",
         "list the adapters found (path, kind, VID:PID, whether it opens), or print the udev "
         "rule for adapters.conf",
         Adapters},
        {"hookoff", "", "take the line", HookOff},
        {"hookon", "", "hang up", HookOn},
        {"send", "DIGITS", "dial DTMF digits (0-9 * # A-D) on the held line", Send},
        {"flash", "[MS]", "hook flash (default 600 ms)", Flash},
        {"mute", "", "toggle mute", Mute},
        {"volume", "up|down", "one line volume step", Volume},
        {"state", "", "print the line status word and hook state", State},
        {"cid", "", "read a waiting caller-ID message", CallerId},
        {"version", "", "print the adapter's hardware and firmware versions", Version},
        {"serial", "[N]", "print the serial number, or set it to N", Serial},
        {"headset", "1|2", "headset mode: 1 TEL, 2 DSP", Headset},
        {"encode", "SRC.wav DST.vrc [RATE] [SILENCE]",
         "compress an 8 kHz 16-bit mono WAV file (RATE 0 largest .. 2 smallest frames, "
         "default 0; SILENCE 1 writes silence runs, the default)",
         Encode},
        {"decode", "SRC.vrc DST.wav", "decode a compressed recording to 16-bit PCM WAV", Decode},
        {"decode-ulaw", "SRC.vrc DST.wav", "decode a compressed recording to mu-law WAV",
         DecodeUlaw},
        {"record", "FILE [TYPE]",
         "record the line until Enter or Ctrl+C (TYPE 0 mu-law WAV, the default; 1, 2, 3 "
         "compressed, largest to smallest frames)",
         Record},
        {"play", "FILE [raw]", "play a WAV file into the line (raw: a compressed recording)", Play},
        {"playsub", "FILE OFFSET", "play a WAV file from a byte offset; Enter pauses and resumes",
         PlaySub},
        {"autodial", "NUMBER [EXT]", "take the line and dial (after an extension-line prefix)",
         AutoDial},
        {"redial", "", "dial again what tyctl autodial dialled last", Redial},
        {"ars", "PROMPT KEYS TERM REPS WAIT_MS",
         "play a prompt and collect up to KEYS keys ended by TERM", Ars},
        {"firmware", "FILE", "download a firmware image (at most 7500 bytes)", Firmware},
        {"repair", "FILE.wav", "set the lengths of a WAV file a crash left unfinished", Repair},
    };
    return kCommands;
}

const Command* CommandTable::Find(const std::string& name) {
    for (const Command& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

void CommandTable::PrintUsage(std::ostream& out) {
    out << "usage: tyctl COMMAND [ARGS]\n";
    for (const Command& c : Commands()) {
        std::string head = std::string(c.name) + (*c.usage ? std::string(" ") + c.usage : "");
        out << "  " << head << std::string(head.size() < 18 ? 18 - head.size() : 1, ' ') << c.help
            << '\n';
    }
}

int CommandTable::Dispatch(int argc, const char* const* argv, std::ostream& out,
                           std::ostream& err, const std::atomic<bool>& stop) {
    if (argc < 2) {
        PrintUsage(err);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(out);
        return kExitOk;
    }
    const Command* command = Find(name);
    if (!command) {
        err << "tyctl: unknown command '" << name << "' (tyctl help lists them)\n";
        return kExitUsage;
    }
    CommandContext context{std::vector<std::string>(argv + 2, argv + argc), out, err, stop};
    return command->run(context);
}

}  // namespace tyctl
