#include "directory/CardDavSync.h"
#include "directory/CardDavTexts.h"
#include "i18n/Translations.h"

namespace directory {

namespace {

std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr(texts::kContext, text, args);
}

const char* ChangeText(CardDavReport::Kind kind) {
    using K = CardDavReport::Kind;
    switch (kind) {
        case K::AddedHere:
            return texts::kAddedHere;
        case K::ChangedHere:
            return texts::kChangedHere;
        case K::RemovedHere:
            return texts::kRemovedHere;
        case K::SentNew:
            return texts::kSentNew;
        case K::SentChange:
            return texts::kSentChange;
        case K::RemovedThere:
            return texts::kRemovedThere;
        case K::Conflict:
            return texts::kConflict;
        case K::KeptEdited:
            return texts::kKeptEdited;
    }
    return texts::kChangedHere;
}

std::string ProblemLine(const CardDavReport::Problem& p, const std::string& user) {
    using E = CardDavReport::Error;
    switch (p.error) {
        case E::Unreachable:
            return T(texts::kUnreachable, {p.detail});
        case E::Unauthorized:
            return T(texts::kUnauthorized, {user.empty() ? p.detail : user});
        case E::PreconditionFailed:
            return T(texts::kPreconditionFailed, {p.detail});
        case E::NotVCard: {
            const auto colon = p.detail.find(": ");
            return T(texts::kNotVCard,
                     {p.detail.substr(0, colon),
                      colon == std::string::npos ? "" : p.detail.substr(colon + 2)});
        }
        case E::Server:
            return T(texts::kServerError, {std::to_string(p.status), p.detail});
        case E::BadAnswer:
            return T(texts::kBadAnswer, {p.detail});
        case E::Database:
            return T(texts::kDatabaseError, {p.detail});
    }
    return p.detail;
}

}  // namespace

int CardDavReport::Count(Kind kind) const {
    int n = 0;
    for (const auto& c : changes) n += c.kind == kind;
    return n;
}

std::vector<std::string> CardDavReport::ChangeLines() const {
    std::vector<std::string> lines;
    for (const auto& c : changes) lines.push_back(T(ChangeText(c.kind), {c.name, c.other}));
    return lines;
}

std::vector<std::string> CardDavReport::ProblemLines(const std::string& user) const {
    std::vector<std::string> lines;
    for (const auto& p : problems) lines.push_back(ProblemLine(p, user));
    return lines;
}

std::string CardDavReport::StatusLine(const std::string& user) const {
    if (!problems.empty() && !finished)
        return ProblemLine(problems.front(), user);
    const int in = Count(Kind::AddedHere) + Count(Kind::ChangedHere) + Count(Kind::RemovedHere);
    const int out = Count(Kind::SentNew) + Count(Kind::SentChange) + Count(Kind::RemovedThere) +
                    Count(Kind::KeptEdited);
    const int both = Count(Kind::Conflict);
    if (in + out + both == 0 && problems.empty())
        return T(texts::kNothingChanged);
    return T(texts::kSummary, {std::to_string(in), std::to_string(out), std::to_string(both)});
}

}  // namespace directory
