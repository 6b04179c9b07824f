#include "linesim/CommandInterpreter.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <sstream>
#include <string_view>
#include <vector>

namespace linesim {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A decimal number within [low, high]; nullopt otherwise.
std::optional<std::uint32_t> Number(const std::string& text, std::uint32_t low,
                                    std::uint32_t high) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (v < low || v > high)
        return std::nullopt;
    return v;
}

std::string Answer(const std::string& error, const std::string& ok = "OK") {
    return error.empty() ? ok : "ERR " + error;
}

std::optional<bool> OnOff(const std::string& w, const char* on, const char* off) {
    if (w == on)
        return true;
    if (w == off)
        return false;
    return std::nullopt;
}

// What a command works on.
struct Target {
    Model& model;
    const CommandInterpreter::PlugHandler& plug;
    const vt::Clock& clock;
};

// The words after the command's name.
using Args = std::span<const std::string>;
// A command's answer; nullopt when its words fit none of its forms, which
// is answered with the command's usage.
using Reply = std::optional<std::string>;

struct Command {
    const char* name;
    std::size_t minArgs, maxArgs;
    // The command's forms, " | " between two: the usage answer shows them
    // so, and the help lists each.
    const char* forms;
    // Appended to the usage answer in parentheses when not null.
    const char* limits;
    Reply (*run)(const Target&, Args);
};

Reply Plug(const Target& t, bool plugged) {
    if (!t.plug)
        return "ERR this adapter cannot be unplugged";
    return Answer(t.plug(plugged));
}

// An on|off word for a setting of the model that cannot be refused.
Reply Switch(Model& model, void (Model::*set)(bool), const std::string& word) {
    const std::optional<bool> on = OnOff(word, "on", "off");
    if (!on)
        return std::nullopt;
    (model.*set)(*on);
    return "OK";
}

// A FILE|off word as the model takes it: empty for off.
std::string FileOrOff(const std::string& word) {
    return word == "off" ? std::string() : word;
}

constexpr Command kCommands[] = {
    {"ring", 0, 3, "ring [ON_MS OFF_MS [COUNT]] | ring stop", nullptr,
     [](const Target& t, Args a) -> Reply {
         if (a.size() == 1 && a[0] == "stop")
             return Answer(t.model.StopRing());
         if (a.size() == 1)
             return std::nullopt;
         Cadence c = kDefaultRing;
         if (a.size() >= 2) {
             auto on = Number(a[0], 50, 60000), off = Number(a[1], 0, 60000);
             if (!on || !off)
                 return "ERR ON_MS must be 50..60000 and OFF_MS 0..60000";
             c.onMs = *on;
             c.offMs = *off;
         }
         if (a.size() == 3) {
             auto count = Number(a[2], 0, 1000);
             if (!count)
                 return "ERR COUNT must be 0..1000 (0 rings until answered)";
             c.count = *count;
         }
         return Answer(t.model.Ring(c));
     }},
    {"cid", 1, 2, "cid NUMBER|withheld [MMDDhhmm|nodate]", nullptr,
     [](const Target& t, Args a) -> Reply {
         std::string when;
         if (a.size() == 2) {
             when = a[1] == "nodate" ? std::string() : a[1];
         } else {
             const vt::LocalTime now = t.clock.NowLocal();
             char buf[16];
             std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d", now.month, now.day, now.hour,
                           now.minute);
             when = buf;
         }
         return Answer(t.model.SetCallerId(a[0] == "withheld" ? std::string() : a[0], when));
     }},
    {"dtmf", 1, 3, "dtmf DIGITS [ON_MS [OFF_MS]]", nullptr,
     [](const Target& t, Args a) -> Reply {
         std::optional<std::uint32_t> on = 100, off = 100;
         if (a.size() >= 2)
             on = Number(a[1], 30, 10000);
         if (a.size() == 3)
             off = Number(a[2], 30, 10000);
         if (!on || !off)
             return "ERR ON_MS and OFF_MS must be 30..10000";
         return Answer(t.model.PressKeys(a[0], *on, *off));
     }},
    {"tone", 1, 1, "tone dial|ringback|busy1|busy2|off", nullptr,
     [](const Target& t, Args a) -> Reply {
         static const std::pair<const char*, Tone> tones[] = {{"dial", Tone::Dial},
                                                              {"ringback", Tone::RingBack},
                                                              {"busy1", Tone::Busy1},
                                                              {"busy2", Tone::Busy2},
                                                              {"off", Tone::Off}};
         for (const auto& [name, tone] : tones)
             if (a[0] == name)
                 return Answer(t.model.SetTone(tone));
         return std::nullopt;
     }},
    {"answer", 0, 0, "answer", nullptr,
     [](const Target& t, Args) -> Reply { return Answer(t.model.FarAnswer()); }},
    {"hangup", 0, 0, "hangup", nullptr,
     [](const Target& t, Args) -> Reply { return Answer(t.model.FarHangUp()); }},
    {"handset", 1, 1, "handset up|down", nullptr,
     [](const Target& t, Args a) -> Reply {
         const std::optional<bool> up = OnOff(a[0], "up", "down");
         if (!up)
             return std::nullopt;
         return Answer(t.model.SetHandset(*up));
     }},
    {"dial", 1, 1, "dial DIGITS", nullptr,
     [](const Target& t, Args a) -> Reply { return Answer(t.model.DialOnPhone(a[0])); }},
    {"arskey", 1, 1, "arskey on|off", nullptr,
     [](const Target& t, Args a) { return Switch(t.model, &Model::SetArsKey, a[0]); }},
    {"headset", 1, 1, "headset 1|2", nullptr,
     [](const Target& t, Args a) -> Reply {
         const std::optional<std::uint32_t> location = Number(a[0], 1, 2);
         if (!location)
             return std::nullopt;
         return Answer(t.model.SetHeadsetLocation(static_cast<int>(*location)));
     }},
    {"reverse", 1, 1, "reverse on|off", nullptr,
     [](const Target& t, Args a) { return Switch(t.model, &Model::SetReversal, a[0]); }},
    {"unplug", 0, 0, "unplug", nullptr,
     [](const Target& t, Args) -> Reply { return Plug(t, false); }},
    {"plug", 0, 0, "plug", nullptr, [](const Target& t, Args) -> Reply { return Plug(t, true); }},
    {"status", 0, 0, "status", nullptr,
     [](const Target& t, Args) -> Reply { return "OK " + t.model.StatusLine(); }},
    {"log", 0, 1, "log | log clear", nullptr,
     [](const Target& t, Args a) -> Reply {
         if (a.size() == 1) {
             if (a[0] != "clear")
                 return std::nullopt;
             t.model.ClearLog();
             return "OK";
         }
         const std::vector<std::string> lines = t.model.Log();
         std::string out = "OK " + std::to_string(lines.size()) + " lines";
         for (const std::string& l : lines) out += "\n" + l;
         return out;
     }},
    {"version", 2, 2, "version HW FW", "0..255 each",
     [](const Target& t, Args a) -> Reply {
         const auto hw = Number(a[0], 0, 255), fw = Number(a[1], 0, 255);
         if (!hw || !fw)
             return std::nullopt;
         t.model.SetVersions(static_cast<std::uint8_t>(*hw), static_cast<std::uint8_t>(*fw));
         return "OK";
     }},
    {"speed", 1, 1, "speed N", "1..100",
     [](const Target& t, Args a) -> Reply {
         const std::optional<std::uint32_t> speed = Number(a[0], 1, 100);
         if (!speed)
             return std::nullopt;
         return Answer(t.model.SetSpeed(*speed));
     }},
    {"audio", 1, 1, "audio FILE|off", nullptr,
     [](const Target& t, Args a) -> Reply { return Answer(t.model.SetFarAudio(FileOrOff(a[0]))); }},
    {"mic", 1, 1, "mic FILE|tone|off", nullptr,
     [](const Target& t, Args a) -> Reply {
         return Answer(t.model.SetMicrophone(FileOrOff(a[0])));
     }},
    {"capture", 1, 1, "capture FILE|off", nullptr,
     [](const Target& t, Args a) -> Reply { return Answer(t.model.SetCapture(FileOrOff(a[0]))); }},
};

constexpr std::string_view kFormSeparator = " | ";

std::string UsageAnswer(const Command& command) {
    std::string answer = std::string("ERR usage: ") + command.forms;
    if (command.limits)
        answer += std::string(" (") + command.limits + ")";
    return answer;
}

}  // namespace

CommandInterpreter::CommandInterpreter(Model& model, PlugHandler plug, const vt::Clock& clock)
    : model_(model), plug_(std::move(plug)), clock_(clock) {}

std::vector<std::string> CommandInterpreter::Forms() {
    std::vector<std::string> forms;
    for (const Command& command : kCommands) {
        std::string_view rest = command.forms;
        for (std::size_t cut; (cut = rest.find(kFormSeparator)) != std::string_view::npos;) {
            forms.emplace_back(rest.substr(0, cut));
            rest.remove_prefix(cut + kFormSeparator.size());
        }
        forms.emplace_back(rest);
    }
    return forms;
}

std::string CommandInterpreter::Execute(const std::string& line) {
    const std::vector<std::string> w = Words(line);
    if (w.empty())
        return "ERR empty command";
    const std::string& name = w[0];
    const Args args = Args(w).subspan(1);
    const Command* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const Command& c) { return name == c.name; });
    // A command that takes no words is not known with words after it.
    if (command == std::end(kCommands) || (command->maxArgs == 0 && !args.empty()))
        return "ERR unknown command: " + name;
    if (args.size() < command->minArgs || args.size() > command->maxArgs)
        return UsageAnswer(*command);
    const Reply reply = command->run(Target{model_, plug_, clock_}, args);
    return reply ? *reply : UsageAnswer(*command);
}

}  // namespace linesim
