#include "vantelo/core/RingAnnouncement.h"

#include <array>
#include <vector>

namespace vantelo {

namespace {

constexpr std::array<const char*, 3> kWords = {"ring", "answered", "stopped"};

std::string Field(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

std::string Joined(const std::vector<const std::string*>& parts, const char* between) {
    std::string out;
    for (const std::string* part : parts) {
        if (part->empty())
            continue;
        if (!out.empty())
            out += between;
        out += *part;
    }
    return out;
}

}  // namespace

std::string RingAnnouncement::Payload() const {
    std::string out = kWords[static_cast<std::size_t>(kind)];
    for (const std::string* field : {&desk, &number, &name}) out += "\t" + Field(*field);
    return out;
}

std::optional<RingAnnouncement> RingAnnouncement::Parse(const std::string& payload) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = payload.find('\t', start);
        fields.push_back(payload.substr(start, tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() != 4 || fields[1].empty())
        return std::nullopt;
    RingAnnouncement a;
    bool known = false;
    for (std::size_t k = 0; k < kWords.size(); ++k)
        if (fields[0] == kWords[k]) {
            a.kind = static_cast<Kind>(k);
            known = true;
        }
    if (!known)
        return std::nullopt;
    a.desk = fields[1];
    a.number = fields[2];
    a.name = fields[3];
    return a;
}

std::string RingAnnouncement::NoticeText() const {
    return desk + ": " + Joined({&name, &number}, " ");
}

std::string RingAnnouncement::PopupText() const {
    return Joined({&desk, &name, &number}, "\n");
}

}  // namespace vantelo
