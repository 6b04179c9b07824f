#include "tyctl/CommandTable.h"

#include "i18n/Translations.h"
#include "tyctl/AdapterCommands.h"
#include "tyctl/AudioCommands.h"
#include "tyctl/CodecCommands.h"
#include "tyctl/LineCommands.h"

namespace tyctl {

namespace {

// The help and the command line's mistakes: Korean, English through the
// "tyctl" catalog.
std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr("tyctl", text, args);
}

}  // namespace

const std::vector<Command>& CommandTable::Commands() {
    static const std::vector<Command> kCommands = {
        {"monitor", "", QT_TRANSLATE_NOOP("tyctl", "Ctrl+C까지 모든 회선 이벤트를 출력합니다"),
         Monitor},
        {"adapters", "[--udev-rule]",
         QT_TRANSLATE_NOOP("tyctl", "찾은 어댑터(경로, 종류, VID:PID, 열 수 있는지)를 출력하거나 "
                                    "adapters.conf의 udev 규칙을 출력합니다"),
         Adapters},
        {"hookoff", "", QT_TRANSLATE_NOOP("tyctl", "회선을 잡습니다"), HookOff},
        {"hookon", "", QT_TRANSLATE_NOOP("tyctl", "전화를 끊습니다"), HookOn},
        {"send", "DIGITS",
         QT_TRANSLATE_NOOP("tyctl", "잡은 회선에 DTMF 숫자(0-9 * # A-D)를 보냅니다"), Send},
        {"flash", "[MS]", QT_TRANSLATE_NOOP("tyctl", "후크 플래시(기본 600 ms)"), Flash},
        {"mute", "", QT_TRANSLATE_NOOP("tyctl", "음소거를 켜고 끕니다"), Mute},
        {"volume", "up|down", QT_TRANSLATE_NOOP("tyctl", "회선 음량을 한 단계 바꿉니다"), Volume},
        {"state", "", QT_TRANSLATE_NOOP("tyctl", "회선 상태 워드와 후크 상태를 출력합니다"), State},
        {"cid", "", QT_TRANSLATE_NOOP("tyctl", "기다리는 발신자 번호 메시지를 읽습니다"), CallerId},
        {"version", "", QT_TRANSLATE_NOOP("tyctl", "어댑터의 하드웨어와 펌웨어 버전을 출력합니다"),
         Version},
        {"serial", "[N]", QT_TRANSLATE_NOOP("tyctl", "일련번호를 출력하거나 N으로 설정합니다"),
         Serial},
        {"headset", "1|2", QT_TRANSLATE_NOOP("tyctl", "헤드셋 모드: 1 TEL, 2 DSP"), Headset},
        {"encode", "SRC.wav DST.vrc [RATE] [SILENCE]",
         QT_TRANSLATE_NOOP("tyctl",
                           "8 kHz 16비트 모노 WAV 파일을 압축합니다(RATE 0 가장 큰 .. 2 가장 작은 "
                           "프레임, 기본 0; SILENCE 1은 무음 구간을 씁니다, 기본값)"),
         Encode},
        {"decode", "SRC.vrc DST.wav",
         QT_TRANSLATE_NOOP("tyctl", "압축 녹음을 16비트 PCM WAV로 풉니다"), Decode},
        {"decode-ulaw", "SRC.vrc DST.wav",
         QT_TRANSLATE_NOOP("tyctl", "압축 녹음을 mu-law WAV로 풉니다"), DecodeUlaw},
        {"record", "FILE [TYPE]",
         QT_TRANSLATE_NOOP("tyctl",
                           "Enter 또는 Ctrl+C까지 회선을 녹음합니다(TYPE 0 mu-law WAV, 기본값; 1, "
                           "2, 3 압축, 큰 프레임에서 작은 프레임 순)"),
         Record},
        {"play", "FILE [raw]",
         QT_TRANSLATE_NOOP("tyctl", "WAV 파일을 회선으로 재생합니다(raw: 압축 녹음)"), Play},
        {"playsub", "FILE OFFSET",
         QT_TRANSLATE_NOOP("tyctl",
                           "WAV 파일을 바이트 위치부터 재생합니다; Enter로 멈추고 다시 재생합니다"),
         PlaySub},
        {"autodial", "NUMBER [EXT]",
         QT_TRANSLATE_NOOP("tyctl", "회선을 잡고 겁니다(내선 접두 번호 뒤에)"), AutoDial},
        {"redial", "",
         QT_TRANSLATE_NOOP("tyctl", "tyctl autodial이 마지막으로 건 번호를 다시 겁니다"), Redial},
        {"ars", "PROMPT KEYS TERM REPS WAIT_MS",
         QT_TRANSLATE_NOOP("tyctl", "안내를 재생하고 TERM으로 끝나는 키를 KEYS개까지 받습니다"),
         Ars},
        {"firmware", "FILE",
         QT_TRANSLATE_NOOP("tyctl", "펌웨어 이미지를 내려받습니다(최대 7500바이트)"), Firmware},
        {"repair", "FILE.wav",
         QT_TRANSLATE_NOOP("tyctl", "충돌로 끝나지 못한 WAV 파일의 길이를 맞춥니다"), Repair},
    };
    return kCommands;
}

const Command* CommandTable::Find(const std::string& name) {
    for (const Command& c : Commands())
        if (name == c.name)
            return &c;
    return nullptr;
}

void CommandTable::PrintUsage(std::ostream& out) {
    out << T(QT_TRANSLATE_NOOP("tyctl", "사용법: tyctl 명령 [인수]\n"));
    for (const Command& c : Commands()) {
        std::string head = std::string(c.name) + (*c.usage ? std::string(" ") + c.usage : "");
        out << "  " << head << std::string(head.size() < 18 ? 18 - head.size() : 1, ' ')
            << T(c.help) << '\n';
    }
}

int CommandTable::Dispatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                           const std::atomic<bool>& stop) {
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
        err << T(QT_TRANSLATE_NOOP(
                     "tyctl", "tyctl: 알 수 없는 명령 '%1' (tyctl help가 명령을 보여 줍니다)\n"),
                 {name});
        return kExitUsage;
    }
    CommandContext context{std::vector<std::string>(argv + 2, argv + argc), out, err, stop};
    return command->run(context);
}

}  // namespace tyctl
