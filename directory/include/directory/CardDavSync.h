#pragma once
// One synchronisation of the contact book with a CardDAV address book, both
// ways. The first pulls every card; later ones ask only for what changed
// (the sync-collection report where the server offers it, else the members'
// ETags). Then what changed here goes back: edits as PUT with If-Match,
// new contacts as new cards, deletions as DELETE. A card changed on both
// sides keeps the server's version, and this side's is saved beside it as a
// new contact named "<name> (Vantelo)", so nothing is lost. Cards another
// program wrote are changed only in the lines of the fields that changed.
//
// Every error is one line of the report and never stops the other cards;
// only an address book that cannot be reached or refuses the login ends the
// run (each as one line). No toolkit in this interface; it blocks, so the
// programs run it off their window's thread (see CardDavService).

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "directory/CardDavSettings.h"

namespace directory {

struct CardDavReport {
    enum class Kind {
        AddedHere,     // a card of the server became a contact
        ChangedHere,   // a contact took the server's new version
        RemovedHere,   // deleted on the server, so deleted here
        SentNew,       // a contact of this side became a card
        SentChange,    // an edit made here reached the server
        RemovedThere,  // deleted here, so deleted on the server
        Conflict,      // changed on both sides: both kept
        KeptEdited,    // deleted on the server but edited here: kept and sent again
    };
    enum class Error {
        Unreachable,         // no answer (refused, time-out, name unknown ...)
        Unauthorized,        // 401
        PreconditionFailed,  // 412: the card changed on the server meanwhile
        NotVCard,            // a member that is not a readable vCard
        Server,              // any other HTTP failure
        BadAnswer,           // an answer that is not the expected XML
        Database,            // the contact book could not be read or written
    };
    struct Change {
        Kind kind;
        std::string name;   // the contact's name
        std::string other;  // Conflict: the name of the saved copy
    };
    struct Problem {
        Error error;
        std::string detail;  // the card, the server's status or words
        long status = 0;
    };

    std::vector<Change> changes;
    std::vector<Problem> problems;
    bool incremental = false;  // only changes were asked for
    bool finished = false;     // the run reached its end (problems may remain)

    int Count(Kind kind) const;
    // One line per change and per problem, in the user's language.
    std::vector<std::string> ChangeLines() const;
    std::vector<std::string> ProblemLines(const std::string& user = {}) const;
    // One line for a status bar: the summary, or the first problem.
    std::string StatusLine(const std::string& user = {}) const;
};

class CardDavSync {
public:
    // `connectSeconds`/`requestSeconds` bound every request; `stop` (optional)
    // ends a request in progress, and with it the run, as soon as it is set.
    CardDavSync(CardDavSettings settings, std::string password, std::filesystem::path database,
                long connectSeconds = 10, long requestSeconds = 120,
                const std::atomic<bool>* stop = nullptr);

    CardDavReport Run();

private:
    CardDavSettings settings_;
    std::string password_;
    std::filesystem::path database_;
    long connectSeconds_, requestSeconds_;
    const std::atomic<bool>* stop_;
};

}  // namespace directory
