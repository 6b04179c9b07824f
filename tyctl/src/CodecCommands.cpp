#include "tyctl/CodecCommands.h"

#include <chrono>
#include <functional>

#include "Text.h"
#include "lindev/lindev.h"
#include "platform/QueueMessageWindow.h"
#include "tyctl/ProgressLine.h"

namespace tyctl {

namespace {

constexpr int kSlot = 0;
constexpr int kVolume = 1024;  // unity
constexpr int kScale = 100;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

int Usage(CommandContext& c, const char* usage) {
    c.err << "tyctl: " << Text(QT_TRANSLATE_NOOP("tyctl", "사용법: tyctl %1"), {usage}) << '\n';
    return kExitUsage;
}

const char* DoneMeaning(long code) {
    switch (code) {
        case 0:
            return "converted";
        case 2:
            return "the source is not a usable WAV file, or the destination cannot be created";
        default:
            return "failed: the codec library is missing, the source cannot be read, or the "
                   "destination cannot be created or written";
    }
}

// Serves slot 0 with a queue window (the conversion posts there), starts the
// conversion and prints its messages until it is done.
int RunConversion(CommandContext& c, const char* name, const std::function<int()>& start) {
    vt::QueueMessageWindow window;
    if (TY_StartService(&window, kSlot) != kSlot) {
        c.err << "tyctl: "
              << Text(QT_TRANSLATE_NOOP("tyctl", "회선 라이브러리의 서비스를 시작할 수 없습니다"))
              << '\n';
        return kExitFailed;
    }
    int code = kExitFailed;
    if (start() != 1) {
        c.err << "tyctl: "
              << Text(QT_TRANSLATE_NOOP("tyctl",
                                        "%1이(가) 거부되었습니다 (경로가 511바이트보다 깁니까?)"),
                      {name})
              << '\n';
    } else {
        ProgressLine progress(c.out);
        for (;;) {
            if (c.stop.load()) {
                progress.End();
                // Leaving now: the library stops the conversion and removes its output.
                c.err << "tyctl: "
                      << Text(QT_TRANSLATE_NOOP("tyctl", "%1이(가) 중단되었습니다"), {name})
                      << '\n';
                break;
            }
            auto m = window.Take(kPollInterval);
            if (!m)
                continue;
            if (m->message == WM_TY_CODECPROGRESS) {
                progress.Show(static_cast<long>(m->lParam),
                              std::string(name) + " " + std::to_string(m->lParam) + "%");
            } else if (m->message == WM_TY_CODECDONE) {
                progress.End();
                c.out << "done " << m->lParam << std::endl;
                if (m->lParam == 0) {
                    code = kExitOk;
                } else {
                    c.err << "tyctl: " << name << ": " << DoneMeaning(m->lParam) << '\n';
                }
                break;
            }
        }
    }
    TY_StopService(kSlot);
    return code;
}

bool ParseChoice(const std::string& text, int max, int* value) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '0' + max)
        return false;
    *value = text[0] - '0';
    return true;
}

int RunDecode(CommandContext& c, const char* name, bool muLaw) {
    if (c.args.size() != 2)
        return Usage(c, muLaw ? "decode-ulaw SRC.vrc DST.wav" : "decode SRC.vrc DST.wav");
    const std::string& src = c.args[0];
    const std::string& dst = c.args[1];
    return RunConversion(c, name, [&] {
        return muLaw ? TY_Decoder1(src.c_str(), dst.c_str(), kVolume, kScale, kSlot)
                     : TY_Decoder(src.c_str(), dst.c_str(), kVolume, kScale, kSlot);
    });
}

}  // namespace

int Encode(CommandContext& c) {
    const char* usage = "encode SRC.wav DST.vrc [RATE 0|1|2] [SILENCE 0|1]";
    if (c.args.size() < 2 || c.args.size() > 4)
        return Usage(c, usage);
    int rate = 0;
    int silence = 1;
    if (c.args.size() > 2 && !ParseChoice(c.args[2], 2, &rate))
        return Usage(c, usage);
    if (c.args.size() > 3 && !ParseChoice(c.args[3], 1, &silence))
        return Usage(c, usage);
    const std::string& src = c.args[0];
    const std::string& dst = c.args[1];
    return RunConversion(c, "encode", [&] {
        return TY_Encoder(src.c_str(), dst.c_str(), kVolume, rate, silence, kScale, kSlot);
    });
}

int Decode(CommandContext& c) {
    return RunDecode(c, "decode", false);
}

int DecodeUlaw(CommandContext& c) {
    return RunDecode(c, "decode-ulaw", true);
}

}  // namespace tyctl
