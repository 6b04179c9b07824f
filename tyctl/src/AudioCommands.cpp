#include "tyctl/AudioCommands.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "Text.h"
#include "lindev/lindev.h"
#include "platform/Folders.h"
#include "platform/QueueMessageWindow.h"
#include "speechcodec/WavHeader.h"
#include "tyctl/AdapterSession.h"
#include "tyctl/ProgressLine.h"

namespace tyctl {

namespace {

using namespace std::chrono_literals;

constexpr int kSlot = 0;
constexpr auto kTick = 100ms;
constexpr auto kEndWait = 5s;
constexpr int kDialOnMs = 100;
constexpr int kDialOffMs = 100;
constexpr const char* kLastDialFile = "tyctl-last-dial.txt";
// A command (%1) the line refused while busy, or one stopped by Ctrl+C.
constexpr const char* kBusy =
    QT_TRANSLATE_NOOP("tyctl", "%1이(가) 거부되었습니다 (회선이 재생, 녹음 또는 다이얼 중입니다)");
constexpr const char* kInterrupted = QT_TRANSLATE_NOOP("tyctl", "%1이(가) 중단되었습니다");

std::atomic<int> g_keyboard{STDIN_FILENO};

int Usage(CommandContext& c, const char* usage) {
    c.err << "tyctl: " << Text(QT_TRANSLATE_NOOP("tyctl", "사용법: tyctl %1"), {usage}) << '\n';
    return kExitUsage;
}

int Refused(CommandContext& c, const std::string& what) {
    c.err << "tyctl: " << what << '\n';
    return kExitFailed;
}

bool ParseInt(const std::string& text, long low, long high, long* value) {
    if (text.empty() || text.size() > 9)
        return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < low || v > high)
        return false;
    *value = v;
    return true;
}

// What the keyboard gave within `wait`: a line, the end of input, or nothing.
enum class Key { None, Line, End };
Key ReadKey(std::chrono::milliseconds wait) {
    pollfd p{g_keyboard.load(), POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0)
        return Key::None;
    char buffer[256];
    const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
    if (n <= 0)
        return Key::End;
    return Key::Line;
}

// Slot 0 open and served, with its messages in a queue.
class ServedSlot {
public:
    ServedSlot() : served_(session_.Open() && TY_StartService(&window_, kSlot) == kSlot) {}
    ~ServedSlot() {
        if (served_)
            TY_StopService(kSlot);
    }
    // The exit code when the slot is not usable, else kExitOk.
    int Check(CommandContext& c) const {
        if (!session_.Found())
            return c.err << NoAdapterLine() << '\n', kExitNoAdapter;
        if (!served_)
            return c.err << "tyctl: " << Text(QT_TRANSLATE_NOOP("tyctl", "어댑터를 열 수 없습니다"))
                         << '\n',
                   kExitNoAdapter;
        return kExitOk;
    }
    vt::QueueMessageWindow& Window() { return window_; }
    // Waits for WM_TY_THREADNOTIFY with this lParam.
    bool WaitForEnd(long lParam, std::chrono::milliseconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < until) {
            auto m = window_.WaitFor(WM_TY_THREADNOTIFY, 100ms);
            if (m && m->lParam == lParam)
                return true;
        }
        return false;
    }

private:
    AdapterSession session_;
    vt::QueueMessageWindow window_;
    bool served_;
};

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace

void SetKeyboardInput(int fd) {
    g_keyboard.store(fd);
}

int Record(CommandContext& c) {
    const char* usage = "record FILE [TYPE 0 wav|1|2|3 compressed]";
    long type = 0;
    if (c.args.empty() || c.args.size() > 2)
        return Usage(c, usage);
    if (c.args.size() == 2 && !ParseInt(c.args[1], 0, 3, &type))
        return Usage(c, usage);
    const std::string& path = c.args[0];
    ServedSlot slot;
    if (const int code = slot.Check(c))
        return code;
    if (TY_StartRecord(path.c_str(), 1, static_cast<int>(type), kSlot) != 1)
        return Refused(
            c, Text(QT_TRANSLATE_NOOP("tyctl",
                                      "녹음이 거부되었습니다 (회선이 재생, 녹음 또는 다이얼 "
                                      "중이거나, 경로가 4자보다 짧거나 259자보다 깁니다)")));
    c.err << "tyctl: "
          << Text(QT_TRANSLATE_NOOP("tyctl", "%1에 녹음합니다; Enter나 Ctrl+C로 끝냅니다"), {path})
          << '\n';
    ProgressLine progress(c.out);
    const auto start = std::chrono::steady_clock::now();
    bool endedByLine = false;
    for (;;) {
        if (c.stop.load())
            break;
        const Key key = ReadKey(kTick);
        if (key != Key::None)
            break;
        if (auto m = slot.Window().WaitFor(WM_TY_THREADNOTIFY, 0ms); m && m->lParam == 1) {
            endedByLine = true;
            break;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
        progress.Show(static_cast<long>(seconds),
                      Text(QT_TRANSLATE_NOOP("tyctl", "녹음 중 %1초, %2바이트"),
                           {std::to_string(seconds), std::to_string(SizeOf(path))}));
    }
    progress.End();
    // Returns once the file is finished.
    TY_StopRecord(kSlot);
    if (!endedByLine)
        slot.WaitForEnd(1, kEndWait);
    c.out << Text(QT_TRANSLATE_NOOP("tyctl", "%2에 %1바이트를 녹음했습니다"),
                  {std::to_string(SizeOf(path)), path})
          << std::endl;
    if (endedByLine)
        c.err << "tyctl: "
              << Text(QT_TRANSLATE_NOOP("tyctl", "회선이 녹음을 끝냈습니다 (훅 변화나 파일 오류)"))
              << '\n';
    return kExitOk;
}

int Play(CommandContext& c) {
    const char* usage = "play FILE [raw]";
    if (c.args.empty() || c.args.size() > 2 || (c.args.size() == 2 && c.args[1] != "raw"))
        return Usage(c, usage);
    const std::string& path = c.args[0];
    const bool raw = c.args.size() == 2;
    ServedSlot slot;
    if (const int code = slot.Check(c))
        return code;
    if (TY_WaveOut(path.c_str(), 0, raw ? 1 : 0, kSlot) != 1)
        return Refused(c, Text(kBusy, {"play"}));
    ProgressLine progress(c.out);
    const auto start = std::chrono::steady_clock::now();
    bool ended = false;
    while (!ended && !c.stop.load()) {
        if (auto m = slot.Window().WaitFor(WM_TY_THREADNOTIFY, kTick); m && m->lParam == 0) {
            ended = true;
            break;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
        progress.Show(static_cast<long>(seconds),
                      Text(QT_TRANSLATE_NOOP("tyctl", "재생 중 %1초"), {std::to_string(seconds)}));
    }
    progress.End();
    if (!ended) {
        TY_StopWaveOut(kSlot);
        c.err << "tyctl: " << Text(kInterrupted, {"play"}) << '\n';
        return kExitFailed;
    }
    c.out << Text(QT_TRANSLATE_NOOP("tyctl", "%1을(를) 재생했습니다"), {path}) << std::endl;
    return kExitOk;
}

int PlaySub(CommandContext& c) {
    const char* usage = "playsub FILE OFFSET";
    long offset = 0;
    if (c.args.size() != 2 || !ParseInt(c.args[1], 0, 0x7FFFFFFF, &offset))
        return Usage(c, usage);
    const std::string& path = c.args[0];
    const std::uintmax_t size = SizeOf(path);
    ServedSlot slot;
    if (const int code = slot.Check(c))
        return code;
    if (TY_WaveOutSub(path.c_str(), static_cast<int>(offset), 0, 0, kSlot) != 1)
        return Refused(c, Text(kBusy, {"playsub"}));
    c.err << "tyctl: "
          << Text(QT_TRANSLATE_NOOP("tyctl", "Enter로 멈추고 다시 재생하며, Ctrl+C로 끝냅니다"))
          << '\n';
    ProgressLine progress(c.out);
    long position = offset;
    bool paused = false;
    for (;;) {
        if (c.stop.load()) {
            progress.End();
            TY_StopWaveOut(kSlot);
            c.err << "tyctl: "
                  << Text(QT_TRANSLATE_NOOP("tyctl", "playsub이 %1에서 멈췄습니다"),
                          {std::to_string(position)})
                  << '\n';
            return kExitFailed;
        }
        if (ReadKey(0ms) == Key::Line) {
            if (!paused) {
                TY_PauseWaveOut(kSlot);
            } else {
                // The adapter plays out what it holds before it takes more.
                while (!c.stop.load() && (TY_GetTYplusState(kSlot) & 0x20)) ReadKey(kTick);
                if (TY_WaveOutSub(path.c_str(), static_cast<int>(position), 0, 0, kSlot) != 1)
                    return progress.End(),
                           Refused(c,
                                   Text(QT_TRANSLATE_NOOP("tyctl", "다시 재생이 거부되었습니다")));
                paused = false;
            }
        }
        auto m = slot.Window().Take(kTick);
        if (!m)
            continue;
        if (m->message == WM_TY_PLAYPROGRESS) {
            position = static_cast<long>(m->lParam);
            progress.Show(position,
                          Text(QT_TRANSLATE_NOOP("tyctl", "%2바이트 중 %1바이트를 재생했습니다"),
                               {std::to_string(position), std::to_string(size)}));
        } else if (m->message == WM_TY_THREADNOTIFY && m->lParam == 5) {
            paused = true;
            progress.End();
            c.err << "tyctl: "
                  << Text(QT_TRANSLATE_NOOP("tyctl", "%1에서 멈췄습니다; Enter로 다시 재생합니다"),
                          {std::to_string(position)})
                  << '\n';
        } else if (m->message == WM_TY_THREADNOTIFY && m->lParam == 0 && !paused) {
            progress.End();
            c.out << Text(QT_TRANSLATE_NOOP("tyctl", "%1을(를) %2까지 재생했습니다"),
                          {path, std::to_string(position)})
                  << std::endl;
            return kExitOk;
        }
    }
}

namespace {

std::filesystem::path LastDialFile() {
    return vt::ApplicationFolder() / kLastDialFile;
}

int Dial(CommandContext& c, const std::string& number, const std::string& extension) {
    ServedSlot slot;
    if (const int code = slot.Check(c))
        return code;
    if (TY_AutoDialThread(number.c_str(), extension.empty() ? 0 : 1, extension.c_str(), 0,
                          kDialOnMs, kDialOffMs, 0, kSlot) != 1)
        return Refused(c,
                       Text(QT_TRANSLATE_NOOP("tyctl",
                                              "다이얼이 거부되었습니다 (회선이 잡혀 있거나 사용 "
                                              "중이거나, 번호가 비었거나 48자리보다 길거나, 내선이 "
                                              "10자리보다 깁니다)")));
    for (;;) {
        if (c.stop.load()) {
            TY_HookOn(kSlot);
            return Refused(c, Text(kInterrupted, {"dial"}));
        }
        auto m = slot.Window().WaitFor(WM_TY_AUTODIALDONE, kTick);
        if (!m)
            continue;
        if (m->lParam != 1)
            return Refused(c, Text(QT_TRANSLATE_NOOP("tyctl", "다이얼하지 못했습니다")));
        break;
    }
    // Kept for redial: the library forgets its redial number when tyctl ends.
    vt::EnsureFolder(vt::ApplicationFolder());
    std::ofstream(LastDialFile()) << number << '\n' << extension << '\n';
    std::filesystem::permissions(
        LastDialFile(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    c.out << (extension.empty()
                  ? Text(QT_TRANSLATE_NOOP("tyctl",
                                           "%1에 전화를 걸었습니다; 회선을 계속 잡고 있습니다"),
                         {number})
                  : Text(
                        QT_TRANSLATE_NOOP(
                            "tyctl", "%2 다음에 %1에 전화를 걸었습니다; 회선을 계속 잡고 있습니다"),
                        {number, extension}))
          << std::endl;
    return kExitOk;
}

}  // namespace

int AutoDial(CommandContext& c) {
    if (c.args.empty() || c.args.size() > 2)
        return Usage(c, "autodial NUMBER [EXTENSION]");
    return Dial(c, c.args[0], c.args.size() == 2 ? c.args[1] : std::string());
}

int Redial(CommandContext& c) {
    if (!c.args.empty())
        return Usage(c, "redial");
    std::ifstream in(LastDialFile());
    std::string number, extension;
    if (!std::getline(in, number) || number.empty())
        return Refused(c, Text(QT_TRANSLATE_NOOP("tyctl",
                                                 "재다이얼할 번호가 없습니다: tyctl이 "
                                                 "아직 autodial로 건 적이 없습니다")));
    std::getline(in, extension);
    return Dial(c, number, extension);
}

int Ars(CommandContext& c) {
    const char* usage = "ars PROMPT KEYS TERM REPS WAIT_MS";
    long keys = 0, reps = 0, wait = 0;
    if (c.args.size() != 5 || !ParseInt(c.args[1], 0, 46, &keys) || c.args[2].size() != 1 ||
        !ParseInt(c.args[3], 0, 255, &reps) || !ParseInt(c.args[4], 0, 600000, &wait))
        return Usage(c, usage);
    ServedSlot slot;
    if (const int code = slot.Check(c))
        return code;
    if (TY_SetARS(c.args[0].c_str(), static_cast<int>(keys), c.args[2][0], static_cast<int>(reps),
                  static_cast<int>(wait), kSlot) != 1)
        return Refused(c, Text(kBusy, {"ars"}));
    while (!slot.WaitForEnd(2, kTick)) {
        if (c.stop.load())
            return Refused(c, Text(kInterrupted, {"ars"}));
    }
    BSTR result = TY_GetARS(kSlot);
    if (!result) {
        c.out << Text(QT_TRANSLATE_NOOP("tyctl",
                                        "누른 키가 없습니다 (안내가 없거나, 키를 읽지 못했거나, "
                                        "아무도 키를 누르지 않았습니다)"))
              << std::endl;
        return kExitFailed;
    }
    c.out << "keys " << std::string(result, SysStringByteLen(result)) << std::endl;
    SysFreeString(result);
    return kExitOk;
}

int Firmware(CommandContext& c) {
    if (c.args.size() != 1)
        return Usage(c, "firmware FILE");
    return WithAdapter(c, [&] {
        switch (TY_FirmwareUpdate(c.args[0].c_str(), kSlot)) {
            case 3:
                c.out << Text(QT_TRANSLATE_NOOP("tyctl", "펌웨어를 보냈습니다 (%1바이트)"),
                              {std::to_string(SizeOf(c.args[0]))})
                      << std::endl;
                return kExitOk;
            case 0:
                return Refused(
                    c, Text(QT_TRANSLATE_NOOP("tyctl", "이미지가 없거나 7500바이트보다 큽니다")));
            case 1:
                return Refused(
                    c, Text(QT_TRANSLATE_NOOP("tyctl", "어댑터가 내려받기를 거부했습니다")));
            default:
                return Refused(
                    c, Text(QT_TRANSLATE_NOOP("tyctl", "어댑터가 이미지 전체를 받지 않았습니다")));
        }
    });
}

int Repair(CommandContext& c) {
    if (c.args.size() != 1)
        return Usage(c, "repair FILE.wav");
    std::uint32_t before = 0, after = 0;
    std::string error;
    if (!speechcodec::WavHeader::RepairLengths(c.args[0], &before, &after, &error))
        return Refused(c, error);
    c.out << Text(QT_TRANSLATE_NOOP("tyctl", "데이터 길이 %1 -> %2"),
                  {std::to_string(before), std::to_string(after)})
          << std::endl;
    return kExitOk;
}

}  // namespace tyctl
