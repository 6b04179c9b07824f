#include "vanconv/VCardFile.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "workbook/Utf8.h"

namespace vanconv {

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
constexpr size_t kMaxFileBytes = 256u << 20;

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

// Logical lines: line ends normalised, folded lines joined.
std::vector<std::string> Unfold(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty())
            lines.back() += line.substr(1);
        else
            lines.push_back(line);
    }
    return lines;
}

struct Card {
    ContactFields fields;
    std::string n;  // N, for a card without FN
    bool hasFn = false;
    std::vector<std::string> workAddresses, workPhones;

    void Put(int field, const std::string& value) {
        if (fields[field].empty())
            fields[field] = value;
    }

    ContactFields Finish() {
        if (!hasFn)
            fields[kName] = n;
        for (size_t i = 0; i < workAddresses.size() && i < 2; ++i)
            fields[kCompanyAddress1 + i] = workAddresses[i];
        for (size_t i = 0; i < workPhones.size() && i < 2; ++i)
            fields[kCompanyPhone1 + i] = workPhones[i];
        return fields;
    }
};

void TakeProperty(Card& card, const std::string& name, const std::set<std::string>& types,
                  const std::string& value) {
    if (name == "FN") {
        card.fields[kName] = Unescape(value);
        card.hasFn = true;
    } else if (name == "N") {
        auto c = Components(value);
        c.resize(5);
        card.n = JoinNonEmpty({c[3], c[1], c[2], c[0], c[4]});
    } else if (name == "CATEGORIES") {
        card.Put(kGroup, Components(value, ',')[0]);
    } else if (name == "ORG") {
        auto c = Components(value);
        card.Put(kCompanyName, c[0]);
        if (c.size() > 1)
            card.Put(kCompanyDepartment, c[1]);
    } else if (name == "TITLE") {
        card.Put(kCompanyDuty, Unescape(value));
    } else if (name == "ADR") {
        const std::string address = JoinNonEmpty(Components(value));
        if (types.count("work"))
            card.workAddresses.push_back(address);
        else
            card.Put(kHomeAddress, address);
    } else if (name == "TEL") {
        std::string number = Unescape(value);
        if (Lower(number.substr(0, 4)) == "tel:")
            number = number.substr(4);
        if (types.count("fax"))
            card.Put(kFaxNum, number);
        else if (types.count("cell"))
            card.Put(kCellPhone, number);
        else if (types.count("work"))
            card.workPhones.push_back(number);
        else if (types.count("home") || card.fields[kHomePhone].empty())
            card.Put(kHomePhone, number);
        else
            card.Put(kCellPhone, number);
    } else if (name == kInnerLineProperty) {
        card.Put(kCompanyInnerLine, Unescape(value));
    } else if (name == "EMAIL") {
        card.Put(kEmail, Unescape(value));
    } else if (name == "URL") {
        card.Put(kWebPage, Unescape(value));
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

}  // namespace

bool VCardFile::Parse(const std::string& input, std::vector<ContactFields>& cards,
                      std::string& error) {
    std::string text = input;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    if (!workbook::IsValidUtf8(text)) {
        error = "the file is not UTF-8 text";
        return false;
    }
    bool inCard = false, sawCard = false;
    Card card;
    for (const std::string& line : Unfold(text)) {
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
            continue;
        const std::vector<std::string> params = Split(line.substr(0, colon), ';', true);
        std::string name = Upper(params[0]);
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos)
            name = name.substr(dot + 1);  // "item1.TEL"
        const std::string value = line.substr(colon + 1);
        if (name == "BEGIN" && Upper(value) == "VCARD") {
            inCard = sawCard = true;
            card = Card();
        } else if (name == "END" && Upper(value) == "VCARD" && inCard) {
            cards.push_back(card.Finish());
            inCard = false;
        } else if (inCard) {
            TakeProperty(card, name, Types(params), value);
        }
    }
    if (!sawCard) {
        error = "the file holds no vCard";
        return false;
    }
    // Importing the cards before it would pass a damaged file off as whole.
    if (inCard) {
        error = "the file is cut off: its last vCard has no END:VCARD";
        return false;
    }
    return true;
}

bool VCardFile::Read(const std::filesystem::path& file, workbook::Workbook& book,
                     std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileBytes) {
        error = ec ? "cannot open " + file.string() : "the file is too large";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    std::vector<ContactFields> cards;
    if (!Parse(all.str(), cards, error))
        return false;
    workbook::Sheet& sheet = book.AddSheet(file.stem().string());
    for (int f = 0; f < kFieldCount; ++f) sheet.SetText(1, f + 1, kConvertFields[f].field);
    int row = 2;
    for (const auto& c : cards) {
        if (row > workbook::Sheet::kMaxRows) {
            error = "the file has more cards than a sheet holds";
            return false;
        }
        for (int f = 0; f < kFieldCount; ++f) sheet.SetText(row, f + 1, c[f]);
        ++row;
    }
    return true;
}

std::string VCardFile::CardText(const ContactFields& c) {
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

bool VCardFile::Write(const std::filesystem::path& file, const workbook::Table& rows,
                      std::string& error) {
    std::string text;
    for (size_t r = 1; r < rows.size(); ++r) {
        ContactFields c;
        for (int f = 0; f < kFieldCount && f < static_cast<int>(rows[r].size()); ++f)
            c[f] = rows[r][f];
        text += CardText(c);
    }
    return workbook::WorkbookWriter::WriteText(file, text, error);
}

}  // namespace vanconv
