#include "linesim/CommandInterpreter.h"

#include <cstdio>
#include <optional>
#include <sstream>
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

}  // namespace

CommandInterpreter::CommandInterpreter(Model& model, PlugHandler plug, const vt::Clock& clock)
    : model_(model), plug_(std::move(plug)), clock_(clock) {}

std::string CommandInterpreter::Execute(const std::string& line) {
    const std::vector<std::string> w = Words(line);
    if (w.empty())
        return "ERR empty command";
    const std::string& cmd = w[0];
    const std::size_t n = w.size();
    const std::string usage = "ERR usage: ";

    if (cmd == "ring") {
        if (n == 2 && w[1] == "stop")
            return Answer(model_.StopRing());
        if (n != 1 && n != 3 && n != 4)
            return usage + "ring [ON_MS OFF_MS [COUNT]] | ring stop";
        Cadence c = kDefaultRing;
        if (n >= 3) {
            auto on = Number(w[1], 50, 60000), off = Number(w[2], 0, 60000);
            if (!on || !off)
                return "ERR ON_MS must be 50..60000 and OFF_MS 0..60000";
            c.onMs = *on;
            c.offMs = *off;
        }
        if (n == 4) {
            auto count = Number(w[3], 0, 1000);
            if (!count)
                return "ERR COUNT must be 0..1000 (0 rings until answered)";
            c.count = *count;
        }
        return Answer(model_.Ring(c));
    }
    if (cmd == "cid") {
        if (n != 2 && n != 3)
            return usage + "cid NUMBER|withheld [MMDDhhmm|nodate]";
        std::string when;
        if (n == 3) {
            when = w[2] == "nodate" ? std::string() : w[2];
        } else {
            const vt::LocalTime t = clock_.NowLocal();
            char buf[16];
            std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d", t.month, t.day, t.hour, t.minute);
            when = buf;
        }
        return Answer(model_.SetCallerId(w[1] == "withheld" ? std::string() : w[1], when));
    }
    if (cmd == "dtmf") {
        if (n < 2 || n > 4)
            return usage + "dtmf DIGITS [ON_MS [OFF_MS]]";
        std::optional<std::uint32_t> on = 100, off = 100;
        if (n >= 3)
            on = Number(w[2], 30, 10000);
        if (n == 4)
            off = Number(w[3], 30, 10000);
        if (!on || !off)
            return "ERR ON_MS and OFF_MS must be 30..10000";
        return Answer(model_.PressKeys(w[1], *on, *off));
    }
    if (cmd == "tone") {
        static const std::pair<const char*, Tone> tones[] = {{"dial", Tone::Dial},
                                                             {"ringback", Tone::RingBack},
                                                             {"busy1", Tone::Busy1},
                                                             {"busy2", Tone::Busy2},
                                                             {"off", Tone::Off}};
        if (n == 2)
            for (const auto& [name, tone] : tones)
                if (w[1] == name)
                    return Answer(model_.SetTone(tone));
        return usage + "tone dial|ringback|busy1|busy2|off";
    }
    if (cmd == "answer" && n == 1)
        return Answer(model_.FarAnswer());
    if (cmd == "hangup" && n == 1)
        return Answer(model_.FarHangUp());
    if (cmd == "handset") {
        auto up = n == 2 ? OnOff(w[1], "up", "down") : std::nullopt;
        if (!up)
            return usage + "handset up|down";
        return Answer(model_.SetHandset(*up));
    }
    if (cmd == "dial") {
        if (n != 2)
            return usage + "dial DIGITS";
        return Answer(model_.DialOnPhone(w[1]));
    }
    if (cmd == "arskey" || cmd == "reverse") {
        auto on = n == 2 ? OnOff(w[1], "on", "off") : std::nullopt;
        if (!on)
            return usage + cmd + " on|off";
        if (cmd == "arskey")
            model_.SetArsKey(*on);
        else
            model_.SetReversal(*on);
        return "OK";
    }
    if (cmd == "headset") {
        auto loc = n == 2 ? Number(w[1], 1, 2) : std::nullopt;
        if (!loc)
            return usage + "headset 1|2";
        return Answer(model_.SetHeadsetLocation(static_cast<int>(*loc)));
    }
    if ((cmd == "unplug" || cmd == "plug") && n == 1) {
        if (!plug_)
            return "ERR this adapter cannot be unplugged";
        return Answer(plug_(cmd == "plug"));
    }
    if (cmd == "status" && n == 1)
        return "OK " + model_.StatusLine();
    if (cmd == "log") {
        if (n == 2 && w[1] == "clear") {
            model_.ClearLog();
            return "OK";
        }
        if (n != 1)
            return usage + "log | log clear";
        const std::vector<std::string> lines = model_.Log();
        std::string out = "OK " + std::to_string(lines.size()) + " lines";
        for (const std::string& l : lines) out += "\n" + l;
        return out;
    }
    if (cmd == "version") {
        auto hw = n == 3 ? Number(w[1], 0, 255) : std::nullopt;
        auto fw = n == 3 ? Number(w[2], 0, 255) : std::nullopt;
        if (!hw || !fw)
            return usage + "version HW FW (0..255 each)";
        model_.SetVersions(static_cast<std::uint8_t>(*hw), static_cast<std::uint8_t>(*fw));
        return "OK";
    }
    if (cmd == "speed") {
        auto s = n == 2 ? Number(w[1], 1, 100) : std::nullopt;
        if (!s)
            return usage + "speed N (1..100)";
        return Answer(model_.SetSpeed(*s));
    }
    if (cmd == "audio" || cmd == "mic" || cmd == "capture") {
        if (n != 2)
            return usage + cmd + (cmd == "mic" ? " FILE|tone|off" : " FILE|off");
        const std::string what = w[1] == "off" ? std::string() : w[1];
        if (cmd == "audio")
            return Answer(model_.SetFarAudio(what));
        if (cmd == "mic")
            return Answer(model_.SetMicrophone(what));
        return Answer(model_.SetCapture(what));
    }
    return "ERR unknown command: " + cmd;
}

}  // namespace linesim
