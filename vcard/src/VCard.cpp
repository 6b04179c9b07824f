#include "vcard/VCard.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "platform/Translate.h"
#include "workbook/Utf8.h"

namespace vcard {

namespace {

enum Field {
    kName = 0,
    kGroup,
    kHomePhone,
    kHomeAddress,
    kCellPhone,
    kCompanyName,
    kCompanyDepartment,
    kCompanyDuty,
    kCompanyAddress1,
    kCompanyAddress2,
    kCompanyPhone1,
    kCompanyPhone2,
    kCompanyInnerLine,
    kFaxNum,
    kEmail,
    kWebPage,
};

constexpr const char* kInnerLineProperty = "X-VANTELO-INNERLINE";

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Splits at `sep` outside double quotes (parameters) or not escaped by a
// backslash (values).
std::vector<std::string> Split(const std::string& s, char sep, bool quotes) {
    std::vector<std::string> parts(1);
    bool inQuotes = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (!quotes && c == '\\' && i + 1 < s.size()) {
            parts.back() += c;
            parts.back() += s[++i];
        } else if (quotes && c == '"') {
            inQuotes = !inQuotes;
        } else if (c == sep && !inQuotes) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char n = s[++i];
            out += (n == 'n' || n == 'N') ? '\n' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c != '\r')
            out += c;
    }
    return out;
}

// The components of a structured value, each unescaped.
std::vector<std::string> Components(const std::string& value, char sep = ';') {
    std::vector<std::string> parts = Split(value, sep, false);
    for (auto& p : parts) p = Unescape(p);
    return parts;
}

std::string JoinNonEmpty(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) {
        if (p.empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += p;
    }
    return out;
}

// Logical lines: line ends normalised, folded lines joined. `raw` (when
// given) receives each logical line as it was written, folds included, with
// CRLF ends, so that a merge copies untouched lines byte for byte.
std::vector<std::string> Unfold(const std::string& text, std::vector<std::string>* raw = nullptr) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
            lines.back() += line.substr(1);
            if (raw)
                raw->back() += line + "\r\n";
        } else {
            lines.push_back(line);
            if (raw)
                raw->push_back(line + "\r\n");
        }
    }
    return lines;
}

// Which logical line filled a field, so that a merge rewrites that line.
struct Card {
    ContactFields fields;
    std::array<int, kFieldCount> line;
    std::string n;  // N, for a card without FN
    bool hasFn = false;
    int nLine = -1;
    std::vector<std::string> workAddresses, workPhones;
    std::vector<int> workAddressLines, workPhoneLines;

    Card() { line.fill(-1); }

    void Put(int field, const std::string& value, int at) {
        if (fields[field].empty()) {
            fields[field] = value;
            line[field] = at;
        }
    }

    ContactFields Finish() {
        if (!hasFn) {
            fields[kName] = n;
            line[kName] = nLine;
        }
        for (size_t i = 0; i < workAddresses.size() && i < 2; ++i) {
            fields[kCompanyAddress1 + i] = workAddresses[i];
            line[kCompanyAddress1 + i] = workAddressLines[i];
        }
        for (size_t i = 0; i < workPhones.size() && i < 2; ++i) {
            fields[kCompanyPhone1 + i] = workPhones[i];
            line[kCompanyPhone1 + i] = workPhoneLines[i];
        }
        return fields;
    }
};

void TakeProperty(Card& card, const std::string& name, const std::set<std::string>& types,
                  const std::string& value, int at) {
    if (name == "FN") {
        card.fields[kName] = Unescape(value);
        card.line[kName] = at;
        card.hasFn = true;
    } else if (name == "N") {
        auto c = Components(value);
        c.resize(5);
        card.n = JoinNonEmpty({c[3], c[1], c[2], c[0], c[4]});
        card.nLine = at;
    } else if (name == "CATEGORIES") {
        card.Put(kGroup, Components(value, ',')[0], at);
    } else if (name == "ORG") {
        auto c = Components(value);
        card.Put(kCompanyName, c[0], at);
        if (c.size() > 1)
            card.Put(kCompanyDepartment, c[1], at);
    } else if (name == "TITLE") {
        card.Put(kCompanyDuty, Unescape(value), at);
    } else if (name == "ADR") {
        const std::string address = JoinNonEmpty(Components(value));
        if (types.count("work")) {
            card.workAddresses.push_back(address);
            card.workAddressLines.push_back(at);
        } else {
            card.Put(kHomeAddress, address, at);
        }
    } else if (name == "TEL") {
        std::string number = Unescape(value);
        if (Lower(number.substr(0, 4)) == "tel:")
            number = number.substr(4);
        if (types.count("fax"))
            card.Put(kFaxNum, number, at);
        else if (types.count("cell"))
            card.Put(kCellPhone, number, at);
        else if (types.count("work")) {
            card.workPhones.push_back(number);
            card.workPhoneLines.push_back(at);
        } else if (types.count("home") || card.fields[kHomePhone].empty())
            card.Put(kHomePhone, number, at);
        else
            card.Put(kCellPhone, number, at);
    } else if (name == kInnerLineProperty) {
        card.Put(kCompanyInnerLine, Unescape(value), at);
    } else if (name == "EMAIL") {
        card.Put(kEmail, Unescape(value), at);
    } else if (name == "URL") {
        card.Put(kWebPage, Unescape(value), at);
    }
}

// The kinds a property's parameters give: TYPE=a,b or TYPE="a,b" (either
// version), or a bare kind as older cards write it.
std::set<std::string> Types(const std::vector<std::string>& params) {
    std::set<std::string> types;
    for (size_t i = 1; i < params.size(); ++i) {
        const size_t eq = params[i].find('=');
        if (eq == std::string::npos) {
            types.insert(Lower(params[i]));
        } else if (Upper(params[i].substr(0, eq)) == "TYPE") {
            for (const auto& t : Split(params[i].substr(eq + 1), ',', true)) types.insert(Lower(t));
        }
    }
    return types;
}

void Fold(std::string& out, const std::string& line) {
    size_t pos = 0;
    size_t room = 75;
    while (line.size() - pos > room) {
        size_t cut = pos + room;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line, pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = 74;
    }
    out.append(line, pos, std::string::npos);
    out += "\r\n";
}

struct Property {
    std::string name;  // upper case, without a group prefix ("item1.")
    std::vector<std::string> params;
    std::string value;
    size_t colon = 0;  // where the value starts, less one
};

// False for a line without a property (no colon).
bool SplitLine(const std::string& line, Property& p) {
    // The first colon outside quoted parameter values ends the name.
    size_t colon = std::string::npos;
    bool inQuotes = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            inQuotes = !inQuotes;
        else if (line[i] == ':' && !inQuotes) {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos)
        return false;
    p.params = Split(line.substr(0, colon), ';', true);
    p.name = Upper(p.params[0]);
    const size_t dot = p.name.rfind('.');
    if (dot != std::string::npos)
        p.name = p.name.substr(dot + 1);  // "item1.TEL"
    p.value = line.substr(colon + 1);
    p.colon = colon;
    return true;
}

// The first card of logical lines, with the line that filled each field;
// `end` is the line of its END:VCARD (-1 when there is none).
struct CardLines {
    Card card;
    ContactFields fields;
    int begin = -1, end = -1;
};

CardLines FirstCard(const std::vector<std::string>& lines) {
    CardLines out;
    Property p;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!SplitLine(lines[i], p))
            continue;
        const int at = static_cast<int>(i);
        if (p.name == "BEGIN" && Upper(p.value) == "VCARD" && out.begin < 0) {
            out.begin = at;
        } else if (p.name == "END" && Upper(p.value) == "VCARD" && out.begin >= 0) {
            out.end = at;
            break;
        } else if (out.begin >= 0) {
            TakeProperty(out.card, p.name, Types(p.params), p.value, at);
        }
    }
    out.fields = out.card.Finish();
    return out;
}

// The line written for field `f` alone, as CardText writes it.
std::string FieldLine(int f, const std::string& v) {
    switch (f) {
        case kGroup:
            return "CATEGORIES:" + Escape(v);
        case kHomePhone:
            return "TEL;TYPE=HOME,VOICE:" + Escape(v);
        case kHomeAddress:
            return "ADR;TYPE=HOME:;;" + Escape(v) + ";;;;";
        case kCellPhone:
            return "TEL;TYPE=CELL,VOICE:" + Escape(v);
        case kCompanyDuty:
            return "TITLE:" + Escape(v);
        case kCompanyAddress1:
        case kCompanyAddress2:
            return "ADR;TYPE=WORK:;;" + Escape(v) + ";;;;";
        case kCompanyPhone1:
        case kCompanyPhone2:
            return "TEL;TYPE=WORK,VOICE:" + Escape(v);
        case kCompanyInnerLine:
            return std::string(kInnerLineProperty) + ":" + Escape(v);
        case kFaxNum:
            return "TEL;TYPE=WORK,FAX:" + Escape(v);
        case kEmail:
            return "EMAIL;TYPE=INTERNET:" + Escape(v);
        case kWebPage:
            return "URL:" + Escape(v);
    }
    return {};
}

// Line `line` (logical) with its value replaced by the field's new value,
// in the form of its property: structured values keep their other parts.
std::string RewriteLine(const std::string& line, int f, const ContactFields& c) {
    Property p;
    SplitLine(line, p);
    const std::string head = line.substr(0, p.colon + 1);
    if (p.name == "ORG") {
        std::vector<std::string> parts = Split(p.value, ';', false);
        parts.resize(std::max<size_t>(parts.size(), 2));
        parts[0] = Escape(c[kCompanyName]);
        parts[1] = Escape(c[kCompanyDepartment]);
        std::string v;
        for (size_t i = 0; i < parts.size(); ++i) v += (i ? ";" : "") + parts[i];
        return head + v;
    }
    if (p.name == "CATEGORIES") {
        std::vector<std::string> parts = Split(p.value, ',', false);
        parts[0] = Escape(c[f]);
        std::string v;
        for (size_t i = 0; i < parts.size(); ++i)
            if (!parts[i].empty())
                v += (v.empty() ? "" : ",") + parts[i];
        return head + v;
    }
    if (p.name == "ADR")
        return head + ";;" + Escape(c[f]) + ";;;;";
    if (p.name == "N")
        return head + Escape(c[f]) + ";;;;";
    if (p.name == "TEL" && Lower(p.value.substr(0, 4)) == "tel:")
        return head + "tel:" + Escape(c[f]);
    return head + Escape(c[f]);
}

}  // namespace

bool VCard::Parse(const std::string& input, std::vector<ContactFields>& cards, std::string& error) {
    std::string text = input;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    if (!workbook::IsValidUtf8(text)) {
        error =
            vt::Translate("vcard", QT_TRANSLATE_NOOP("vcard", "파일이 UTF-8 텍스트가 아닙니다"));
        return false;
    }
    bool inCard = false, sawCard = false;
    Card card;
    Property p;
    int at = 0;
    for (const std::string& line : Unfold(text)) {
        ++at;
        if (!SplitLine(line, p))
            continue;
        if (p.name == "BEGIN" && Upper(p.value) == "VCARD") {
            inCard = sawCard = true;
            card = Card();
        } else if (p.name == "END" && Upper(p.value) == "VCARD" && inCard) {
            cards.push_back(card.Finish());
            inCard = false;
        } else if (inCard) {
            TakeProperty(card, p.name, Types(p.params), p.value, at);
        }
    }
    if (!sawCard) {
        error = vt::Translate("vcard", QT_TRANSLATE_NOOP("vcard", "파일에 vCard가 없습니다"));
        return false;
    }
    // Importing the cards before it would pass a damaged file off as whole.
    if (inCard) {
        error = vt::Translate(
            "vcard",
            QT_TRANSLATE_NOOP("vcard", "파일이 잘렸습니다: 마지막 vCard에 END:VCARD가 없습니다"));
        return false;
    }
    return true;
}

std::string VCard::CardText(const ContactFields& c) {
    std::string out;
    const auto line = [&out](const std::string& text) { Fold(out, text); };
    const auto optional = [&](const std::string& prefix, const std::string& value) {
        if (!value.empty())
            line(prefix + Escape(value));
    };
    line("BEGIN:VCARD");
    line("VERSION:3.0");
    line("N:" + Escape(c[kName]) + ";;;;");
    line("FN:" + Escape(c[kName]));
    optional("CATEGORIES:", c[kGroup]);
    if (!c[kCompanyName].empty() || !c[kCompanyDepartment].empty())
        line("ORG:" + Escape(c[kCompanyName]) + ";" + Escape(c[kCompanyDepartment]));
    optional("TITLE:", c[kCompanyDuty]);
    optional("TEL;TYPE=HOME,VOICE:", c[kHomePhone]);
    if (!c[kHomeAddress].empty())
        line("ADR;TYPE=HOME:;;" + Escape(c[kHomeAddress]) + ";;;;");
    optional("TEL;TYPE=CELL,VOICE:", c[kCellPhone]);
    // The second of a pair is written with the first, even an empty first,
    // so that each keeps its place when read again.
    if (!c[kCompanyAddress1].empty() || !c[kCompanyAddress2].empty())
        line("ADR;TYPE=WORK:;;" + Escape(c[kCompanyAddress1]) + ";;;;");
    if (!c[kCompanyAddress2].empty())
        line("ADR;TYPE=WORK:;;" + Escape(c[kCompanyAddress2]) + ";;;;");
    if (!c[kCompanyPhone1].empty() || !c[kCompanyPhone2].empty())
        line("TEL;TYPE=WORK,VOICE:" + Escape(c[kCompanyPhone1]));
    optional("TEL;TYPE=WORK,VOICE:", c[kCompanyPhone2]);
    optional(std::string(kInnerLineProperty) + ":", c[kCompanyInnerLine]);
    optional("TEL;TYPE=WORK,FAX:", c[kFaxNum]);
    optional("EMAIL;TYPE=INTERNET:", c[kEmail]);
    optional("URL:", c[kWebPage]);
    line("END:VCARD");
    return out;
}

std::string VCard::Merge(const std::string& card, const ContactFields& contact) {
    std::vector<std::string> raw;
    const std::vector<std::string> lines = Unfold(card, &raw);
    const CardLines first = FirstCard(lines);
    if (first.begin < 0 || first.end < 0)
        return CardText(contact);
    if (first.fields == contact)
        return card;
    // Per line: its new logical text (empty: dropped) once changed; lines
    // of fields the card lacked go before END:VCARD.
    std::vector<std::string> logical = lines;
    std::vector<bool> changed(lines.size(), false);
    std::string added;
    bool orgAdded = false;
    const auto rewrite = [&](int at, int f) {
        if (changed[at] && logical[at].empty())
            return;
        Property p;
        SplitLine(logical[at], p);
        // A structured line holds more than this field: it stays, emptied in part.
        const bool keep = p.name == "ORG" || p.name == "CATEGORIES" || p.name == "N";
        logical[at] = keep || !contact[f].empty() ? RewriteLine(logical[at], f, contact) : "";
        changed[at] = true;
    };
    for (int f = 0; f < kFieldCount; ++f) {
        if (first.fields[f] == contact[f])
            continue;
        const int at = first.card.line[f];
        if (f == kName) {
            if (at >= 0)
                rewrite(at, f);
            if (first.card.hasFn && first.card.nLine >= 0)
                rewrite(first.card.nLine, f);
            if (!first.card.hasFn)
                Fold(added, "FN:" + Escape(contact[f]));
            continue;
        }
        if (at >= 0) {
            rewrite(at, f);
        } else if ((f == kCompanyName || f == kCompanyDepartment) &&
                   first.card.line[kCompanyName + kCompanyDepartment - f] >= 0) {
            rewrite(first.card.line[kCompanyName + kCompanyDepartment - f], f);
        } else if (f == kCompanyName || f == kCompanyDepartment) {
            if (!orgAdded)
                Fold(added, "ORG:" + Escape(contact[kCompanyName]) + ";" +
                                Escape(contact[kCompanyDepartment]));
            orgAdded = true;
        } else if (!contact[f].empty()) {
            Fold(added, FieldLine(f, contact[f]));
        }
    }
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (static_cast<int>(i) == first.end)
            text += added;
        if (!changed[i])
            text += raw[i];
        else if (!logical[i].empty())
            Fold(text, logical[i]);
    }
    return text;
}

std::string VCard::SetProperty(const std::string& card, std::string_view name,
                               const std::string& value) {
    std::vector<std::string> raw;
    const std::vector<std::string> lines = Unfold(card, &raw);
    std::string line;
    Fold(line, std::string(name) + ":" + Escape(value));
    int begin = -1, version = -1;
    Property p;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!SplitLine(lines[i], p))
            continue;
        if (p.name == name) {
            raw[i] = line;
            begin = version = -2;  // replaced: nothing to add
            break;
        }
        if (p.name == "VERSION" && version == -1)
            version = static_cast<int>(i);
        if (p.name == "BEGIN" && begin == -1)
            begin = static_cast<int>(i);
    }
    const int after = version >= 0 ? version : begin;
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        text += raw[i];
        if (static_cast<int>(i) == after && after >= 0)
            text += line;
    }
    return text;
}

}  // namespace vcard
