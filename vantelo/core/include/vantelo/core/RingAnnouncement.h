#pragma once
// What a desk tells the other desks of one incoming call on its line: it
// rings (with the caller's number and name, either may be empty), or the
// ringing stopped because the call was answered or the caller gave up. Sent
// as one notification payload between the desks of a shared database.

#include <optional>
#include <string>

namespace vantelo {

struct RingAnnouncement {
    enum class Kind { Ringing, Answered, Stopped };
    Kind kind = Kind::Ringing;
    std::string desk;
    std::string number;
    std::string name;

    // The payload: the kind's word and the fields, tab-separated (tabs and
    // line breaks inside a field become spaces).
    std::string Payload() const;
    // Nothing for a payload no desk wrote.
    static std::optional<RingAnnouncement> Parse(const std::string& payload);

    // "<desk>: <name> <number>", the parts that are known.
    std::string NoticeText() const;
    // The ring pop-up's lines: the desk, then the name and the number known.
    std::string PopupText() const;
};

}  // namespace vantelo
