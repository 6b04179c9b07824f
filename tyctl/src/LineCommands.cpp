#include "tyctl/LineCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Text.h"
#include "lindev/lindev.h"
#include "platform/Folders.h"
#include "platform/Tick.h"
#include "tyctl/AdapterSession.h"
#include "tyctl/LineMonitor.h"

namespace tyctl {

namespace {

constexpr int kSlot = 0;
constexpr int kToneTimeMs = 160;  // 120 ms of tone per digit
constexpr unsigned kDigitGapMs = 80;

int Usage(CommandContext& c, const char* usage) {
    c.err << "tyctl: " << Text(QT_TRANSLATE_NOOP("tyctl", "사용법: tyctl %1"), {usage}) << '\n';
    return kExitUsage;
}

// Why a command failed: an adapter that no longer answers (unplugged, its
// daemon ended or hangs) is told apart from one that refused.
int Failure(CommandContext& c, const std::string& what) {
    if (TY_GetTYplusState(kSlot) == 0xFFFFFFFFu) {
        c.err << "tyctl: "
              << Text(QT_TRANSLATE_NOOP("tyctl",
                                        "%1 실패: 어댑터가 없어졌습니다 (뽑혔거나, 그 "
                                        "데몬이 멈췄거나 응답하지 않습니다)"),
                      {what})
              << '\n';
        return kExitNoAdapter;
    }
    c.err << "tyctl: "
          << Text(QT_TRANSLATE_NOOP("tyctl", "어댑터가 %1을(를) 거부했거나 실패했습니다"), {what})
          << '\n';
    return kExitFailed;
}

int Result(CommandContext& c, const char* what, bool ok) {
    return ok ? kExitOk : Failure(c, what);
}

bool ParseNumber(const std::string& text, unsigned long max, unsigned long* value) {
    if (text.empty() || text.size() > 10)
        return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 10);
    if (*end != '\0' || text[0] == '-' || v > max)
        return false;
    *value = v;
    return true;
}

bool IsDtmfDigit(char ch) {
    const std::string keys = "0123456789*#ABCD";
    return keys.find(ch) != std::string::npos;
}

std::string Hex(unsigned value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", width, value);
    return text;
}

}  // namespace

int Monitor(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "monitor");
    LineMonitor monitor(c.out, c.err);
    return monitor.Run(c.stop);
}

int HookOff(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "hookoff");
    return WithAdapter(c, [&] { return Result(c, "hookoff", TY_HookOff(kSlot) == 1); });
}

int HookOn(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "hookon");
    return WithAdapter(c, [&] { return Result(c, "hookon", TY_HookOn(kSlot) == 1); });
}

int Send(CommandContext& c) {
    if (c.args.size() != 1 || c.args[0].empty())
        return Usage(c, "send DIGITS");
    for (char ch : c.args[0])
        if (!IsDtmfDigit(ch)) {
            c.err << "tyctl: "
                  << Text(QT_TRANSLATE_NOOP("tyctl", "'%1'은(는) DTMF 키가 아닙니다 (0-9 * # A-D)"),
                          {std::string(1, ch)})
                  << '\n';
            return kExitUsage;
        }
    return WithAdapter(c, [&] {
        bool first = true;
        for (char ch : c.args[0]) {
            if (!first)
                vt::SleepMs(kDigitGapMs);
            first = false;
            if (c.stop.load()) {
                c.err << "tyctl: "
                      << Text(QT_TRANSLATE_NOOP("tyctl", "숫자 '%1' 앞에서 멈췄습니다"),
                              {std::string(1, ch)})
                      << '\n';
                return kExitFailed;
            }
            if (TY_SendNumber(ch, kToneTimeMs, 0, kSlot) != 1) {
                if (TY_GetTYplusState(kSlot) == 0xFFFFFFFFu)
                    return Failure(c, std::string("digit '") + ch + "'");
                c.err << "tyctl: "
                      << Text(QT_TRANSLATE_NOOP("tyctl",
                                                "숫자 '%1'이(가) 거부되었거나 "
                                                "실패했습니다 (회선을 잡았습니까?)"),
                              {std::string(1, ch)})
                      << '\n';
                return kExitFailed;
            }
        }
        return kExitOk;
    });
}

int Flash(CommandContext& c) {
    unsigned long ms = 0;
    if (c.args.size() > 1 || (c.args.size() == 1 && !ParseNumber(c.args[0], 65535, &ms)))
        return Usage(c, "flash [MS]  (MS 0..65535, 0 = 600)");
    return WithAdapter(
        c, [&] { return Result(c, "flash", TY_SendFlash(static_cast<int>(ms), kSlot) == 1); });
}

int Mute(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "mute");
    return WithAdapter(c, [&] { return Result(c, "mute", TY_ToggleMute(kSlot) == 1); });
}

int Volume(CommandContext& c) {
    if (c.args.size() != 1 || (c.args[0] != "up" && c.args[0] != "down"))
        return Usage(c, "volume up|down");
    const int up = c.args[0] == "up" ? 1 : 0;
    return WithAdapter(c, [&] { return Result(c, "volume", TY_VolumeControl(up, kSlot) == 1); });
}

int State(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "state");
    return WithAdapter(c, [&] {
        const unsigned word = TY_GetTYplusState(kSlot);
        if (word == 0xFFFFFFFFu)
            return Failure(c, "state");
        c.out << "status=" << Hex(word & 0xFFFF, 4)
              << " hook=" << (TY_IsLineBusy(kSlot) ? "off" : "on")
              << " headset=" << TY_GetHeadsetLoc(kSlot) << std::endl;
        return kExitOk;
    });
}

int CallerId(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "cid");
    return WithAdapter(c, [&] {
        // The service's first poll reads a waiting caller-ID message.
        vt::QueueMessageWindow window;
        if (TY_StartService(&window, kSlot) != kSlot)
            return Failure(c, "cid");
        const auto ready = window.WaitFor(WM_TY_CIDREDAY, std::chrono::milliseconds(500));
        TY_StopService(kSlot);
        if (!ready) {
            c.err << "tyctl: "
                  << Text(QT_TRANSLATE_NOOP("tyctl", "기다리는 발신자 번호 메시지가 없습니다"))
                  << '\n';
            return kExitFailed;
        }
        BSTR record = TY_GetCIDData(kSlot);
        const std::string text(record, SysStringByteLen(record));
        SysFreeString(record);
        if (text.size() < 9) {
            c.err << "tyctl: "
                  << Text(QT_TRANSLATE_NOOP("tyctl", "발신자 번호 메시지에 날짜가 없습니다"))
                  << '\n';
            return kExitFailed;
        }
        c.out << "date=" << text.substr(0, 4) << " time=" << text.substr(4, 4)
              << " number=" << text.substr(9) << std::endl;
        return kExitOk;
    });
}

int Version(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "version");
    return WithAdapter(c, [&] {
        c.out << "hardware=" << TY_GetHW_Version(kSlot) << " firmware=" << TY_GetFW_Version(kSlot)
              << std::endl;
        return kExitOk;
    });
}

int Serial(CommandContext& c) {
    unsigned long serial = 0;
    if (c.args.size() > 1 || (c.args.size() == 1 && !ParseNumber(c.args[0], 0xFFFFFFFFul, &serial)))
        return Usage(c, "serial [N]  (N 0..4294967295)");
    return WithAdapter(c, [&] {
        if (c.args.size() == 1)
            return Result(c, "serial", TY_SetSerial(static_cast<unsigned>(serial), kSlot) == 1);
        c.out << TY_GetSerial(kSlot) << std::endl;
        return kExitOk;
    });
}

int Headset(CommandContext& c) {
    if (c.args.size() != 1 || (c.args[0] != "1" && c.args[0] != "2"))
        return Usage(c, "headset 1|2  (1 TEL, 2 DSP)");
    const int mode = c.args[0][0] - '0';
    return WithAdapter(c, [&] { return Result(c, "headset", TY_SetHeadSet(mode, kSlot) == 1); });
}

}  // namespace tyctl
