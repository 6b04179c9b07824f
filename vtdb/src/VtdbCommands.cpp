#include "VtdbCommands.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <fstream>
#include <memory>
#include <ostream>

#include "MailTest.h"
#include "TsvText.h"
#include "platform/Clock.h"
#include "platform/IniStore.h"
#include "storage/DatabaseRecovery.h"
#include "storage/DateTimeText.h"
#include "storage/Transaction.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vtdb {

namespace {

using storage::Status;

const char* const kUsage =
    "usage: vtdb calls [--kind TAB] [--search KIND TEXT]\n"
    "       vtdb contacts [--index N] [--group G] [--search KIND TEXT] [--inner]\n"
    "       vtdb lookup NUMBER [--ext CODE]\n"
    "       vtdb add-contact [--inner] FIELD=VALUE...\n"
    "       vtdb import-calls FILE.tsv\n"
    "       vtdb check\n"
    "       vtdb recover DEST\n"
    "       vtdb backup DEST\n"
    "       vtdb block add PATTERN [--permit] [--action hangup|ignore|greeting] [--note TEXT]\n"
    "       vtdb block list\n"
    "       vtdb block remove PATTERN\n"
    "       vtdb mail-test\n"
    "       vtdb messages [--heard ID|all]\n";

bool ToInt(const std::string& s, int& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

// Options after the subcommand: flags with their values, the rest in order.
class Options {
public:
    Options(const std::vector<std::string>& args, size_t first) {
        for (size_t i = first; i < args.size(); ++i) rest_.push_back(args[i]);
    }
    bool Flag(const std::string& name) {
        for (size_t i = 0; i < rest_.size(); ++i)
            if (rest_[i] == name) {
                rest_.erase(rest_.begin() + static_cast<long>(i));
                return true;
            }
        return false;
    }
    // The `count` values after a flag; false when the flag is absent.
    bool Values(const std::string& name, size_t count, std::vector<std::string>& values,
                std::string& error) {
        for (size_t i = 0; i < rest_.size(); ++i) {
            if (rest_[i] != name)
                continue;
            if (i + count >= rest_.size()) {
                error = name + " needs " + std::to_string(count) + " value(s)";
                return false;
            }
            values.assign(rest_.begin() + static_cast<long>(i) + 1,
                          rest_.begin() + static_cast<long>(i + count) + 1);
            rest_.erase(rest_.begin() + static_cast<long>(i),
                        rest_.begin() + static_cast<long>(i + count) + 1);
            return true;
        }
        return false;
    }
    const std::vector<std::string>& Rest() const { return rest_; }
    // A word no flag took, as an error; empty when every word was taken.
    std::string Leftover() const {
        return rest_.empty() ? std::string() : "unexpected argument '" + rest_[0] + "'";
    }

private:
    std::vector<std::string> rest_;
};

int Fail(std::ostream& err, const std::string& message) {
    err << "vtdb: " << message << "\n";
    return 1;
}

// An engine error as one line; a damaged file gets the commands that help.
int Fail(std::ostream& err, const Status& s) {
    std::string line = s.ToString();
    if (s.code() == storage::ErrorCode::Damaged)
        line += "; 'vtdb check' examines the file, 'vtdb recover DEST' saves what can be read";
    else if (s.code() == storage::ErrorCode::Incompatible)
        line += "; 'vtdb recover DEST' copies its records into a new file this program can use";
    return Fail(err, line);
}

Status Prepare(std::ostream& err) {
    auto report = vantelo::PrepareDatabase(vt::SystemClock::Instance());
    if (!report.ok())
        return report.status();
    std::string notice = vantelo::PrepareNotice(report.value());
    if (!notice.empty())
        err << "vtdb: " << report.value().reason << "; moved aside to "
            << report.value().movedAside.string() << "\n";
    return Status::Ok();
}

// Every record of the set, or the first error: a record that cannot be read
// is an error, never an empty row.
Status PrintRecords(storage::RecordSet& set, std::ostream& out) {
    const auto& columns = set.Schema().columns;
    for (long i = 0; i < set.GetRecordCount(); ++i) {
        Status s = set.SetAbsolutePosition(i);
        if (!s.ok())
            return s;
        std::string line;
        for (size_t c = 0; c < columns.size(); ++c) {
            auto v = set.GetField(static_cast<int>(c));
            if (!v.ok())
                return v.status();
            line += (c ? "\t" : "") + EscapeField(v.value().AsText());
        }
        out << line << "\n";
    }
    return Status::Ok();
}

int Calls(Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    std::vector<std::string> kind, search;
    bool hasKind = o.Values("--kind", 1, kind, error);
    bool hasSearch = error.empty() && o.Values("--search", 2, search, error);
    if (error.empty())
        error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    int tab = 0, searchKind = 0;
    if (hasKind && !ToInt(kind[0], tab))
        return Fail(err, "--kind needs a tab number 0..6");
    if (hasSearch && !ToInt(search[0], searchKind))
        return Fail(err, "--search needs a kind number");
    Status s = Prepare(err);
    vantelo::CRSCallList log;
    if (s.ok())
        s = log.Open();
    if (s.ok() && hasKind)
        s = log.SetKindFilter(tab);
    if (s.ok() && hasSearch)
        s = log.SetSearch(searchKind, search[1]);
    if (s.ok())
        s = PrintRecords(log, out);
    return s.ok() ? 0 : Fail(err, s);
}

std::unique_ptr<vantelo::ContactRecordSet> ContactSet(bool inner) {
    if (inner)
        return std::make_unique<vantelo::CRSInnerLineList>();
    return std::make_unique<vantelo::CRSAddressList>();
}

int Contacts(Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    std::vector<std::string> index, group, search;
    bool inner = o.Flag("--inner");
    bool hasIndex = o.Values("--index", 1, index, error);
    bool hasGroup = error.empty() && o.Values("--group", 1, group, error);
    bool hasSearch = error.empty() && o.Values("--search", 2, search, error);
    if (error.empty())
        error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    int n = 0, kind = 0;
    if (hasIndex && !ToInt(index[0], n))
        return Fail(err, "--index needs a number 0..14");
    if (hasSearch && !ToInt(search[0], kind))
        return Fail(err, "--search needs a kind number");
    Status s = Prepare(err);
    auto set = ContactSet(inner);
    if (s.ok())
        s = set->Open();
    if (s.ok() && hasIndex)
        s = set->SetIndex(n);
    if (s.ok() && hasGroup)
        s = set->SetGroup(group[0]);
    if (s.ok() && hasSearch)
        s = set->SetSearch(kind, search[1]);
    if (s.ok())
        s = PrintRecords(*set, out);
    return s.ok() ? 0 : Fail(err, s);
}

int Lookup(Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    std::vector<std::string> ext;
    bool hasExt = o.Values("--ext", 1, ext, error);
    if (!error.empty())
        return Fail(err, error);
    if (o.Rest().size() != 1)
        return Fail(err, "lookup needs one NUMBER");
    std::string strExt;
    if (hasExt) {
        strExt = ext[0];
    } else {
        vt::IniStore settings(vt::SettingsFilePath());
        if (settings.Load())
            strExt = settings.GetString(vt::kSettingsSection, "StrExt");
    }
    Status s = Prepare(err);
    vantelo::CRSAddressList book;
    vantelo::CRSInnerLineList inner;
    if (s.ok())
        s = book.Open();
    if (s.ok())
        s = inner.Open();
    if (!s.ok())
        return Fail(err, s);
    auto name = vantelo::LookupName(o.Rest()[0], strExt, book, inner);
    if (!name.ok())
        return Fail(err, name.status());
    out << name.value() << "\n";
    return 0;
}

int AddContact(Options& o, std::ostream& out, std::ostream& err) {
    bool inner = o.Flag("--inner");
    if (o.Rest().empty())
        return Fail(err, "add-contact needs FIELD=VALUE arguments");
    vantelo::ContactRecord contact;
    for (const std::string& arg : o.Rest()) {
        size_t eq = arg.find('=');
        std::string* field = eq == std::string::npos ? nullptr : contact.Field(arg.substr(0, eq));
        if (!field)
            return Fail(err, "'" + arg + "' is not FIELD=VALUE with a contact field");
        *field = arg.substr(eq + 1);
    }
    Status s = Prepare(err);
    auto set = ContactSet(inner);
    if (s.ok())
        s = set->Open();
    if (s.ok())
        s = set->AddContact(contact);
    if (!s.ok())
        return Fail(err, s);
    out << set->GetLastModified() << "\n";
    return 0;
}

void CatchStopSignals();

// Checks one line's fields into the record set's edit buffer; the reason
// when the line is bad.
std::string ReadCallLine(vantelo::CRSCallList& log, const std::vector<std::string>& fields) {
    const auto& columns = log.Schema().columns;
    if (fields.size() != columns.size())
        return std::to_string(fields.size()) + " fields, " + std::to_string(columns.size()) +
               " expected";
    Status s = log.AddNew();
    for (size_t c = 0; s.ok() && c < columns.size(); ++c) {
        std::optional<std::string> text = UnescapeField(fields[c]);
        if (!text)
            return "bad escape in " + columns[c].name;
        storage::Value value = *text;
        if (columns[c].type == storage::ColumnType::DateTime && text->empty())
            value = {};
        s = log.SetField(static_cast<int>(c), value);
    }
    return s.ok() ? std::string() : s.message();
}

// Every line is checked and each bad one named with its line number; the
// calls are stored only when all are good, in one transaction, so a bad
// file, an error or Ctrl+C leave the call log as it was.
int ImportCalls(Options& o, std::ostream& out, std::ostream& err) {
    if (o.Rest().size() != 1)
        return Fail(err, "import-calls needs one FILE.tsv");
    const std::string& path = o.Rest()[0];
    std::ifstream in(path);
    if (!in)
        return Fail(err, "cannot read " + path);
    CatchStopSignals();
    Status s = Prepare(err);
    vantelo::CRSCallList log;
    if (s.ok())
        s = log.Open();
    if (!s.ok())
        return Fail(err, s);
    storage::Transaction transaction(*log.GetConnection());
    s = transaction.Begin();
    if (!s.ok())
        return Fail(err, s);
    constexpr long kShownBad = 100;
    std::string line;
    long lineNo = 0, count = 0, bad = 0;
    while (std::getline(in, line)) {
        if (StopRequested().load()) {
            Fail(err, "stopped at line " + std::to_string(lineNo) + "; nothing imported");
            return 130;
        }
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> fields = SplitTabs(line);
        if (lineNo == 1 && fields[0] == "CallMode")
            continue;  // a header line
        const std::string reason = ReadCallLine(log, fields);
        if (!reason.empty()) {
            log.CancelUpdate();
            if (++bad <= kShownBad)
                err << "vtdb: " << path << ":" << lineNo << ": " << reason << "\n";
            continue;
        }
        if (bad > 0) {  // only checking now: nothing will be stored
            log.CancelUpdate();
            continue;
        }
        s = log.Update();
        if (!s.ok())
            return Fail(err, path + ":" + std::to_string(lineNo) + ": " + s.ToString() +
                                 "; nothing imported");
        if (++count % 100000 == 0)
            err << "vtdb: " << count << " calls read\n";
    }
    if (in.bad())
        return Fail(err, "cannot read " + path + "; nothing imported");
    if (bad > 0)
        return Fail(err,
                    std::to_string(bad) + " bad line(s)" +
                        (bad > kShownBad ? " (the first " + std::to_string(kShownBad) + " shown)"
                                         : std::string()) +
                        " in " + path + "; nothing imported");
    s = transaction.Commit();
    if (!s.ok())
        return Fail(err, s.ToString() + "; nothing imported");
    out << count << "\n";
    return 0;
}

void OnStopSignal(int) {
    StopRequested().store(true);
}

// Long reads of the whole file end early on SIGINT/SIGTERM.
void CatchStopSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

std::vector<storage::TableSchema> Tables() {
    return vantelo::PhoneTables();
}

int Check(Options& o, std::ostream& out, std::ostream& err) {
    std::string error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    CatchStopSignals();
    const std::filesystem::path file = vantelo::DefaultDatabasePath();
    err << "vtdb: checking " << file.string() << " (reads the whole file)\n";
    auto report = storage::CheckDatabaseFile(file, Tables(), &StopRequested());
    if (!report.ok())
        return Fail(err, report.status());
    const storage::CheckReport& r = report.value();
    for (const std::string& problem : r.problems) out << problem << "\n";
    if (!r.intact)
        return Fail(err, file.string() + " is damaged (" + std::to_string(r.problems.size()) +
                             " findings above); 'vtdb recover DEST' saves what can be read");
    if (!r.unusable.empty())
        return Fail(err,
                    file.string() + " is intact but this program cannot use it: " + r.unusable);
    out << file.string() << ": intact";
    if (!r.missing.empty())
        out << "; the next start adds " << r.missing;
    out << "\n";
    return 0;
}

int Recover(Options& o, std::ostream& out, std::ostream& err) {
    if (o.Rest().size() != 1)
        return Fail(err, "recover needs one DEST file name");
    CatchStopSignals();
    const std::filesystem::path file = vantelo::DefaultDatabasePath();
    const std::filesystem::path dest = std::filesystem::absolute(o.Rest()[0]);
    auto tables = storage::RecoverDatabaseFile(
        file, dest, Tables(), &StopRequested(), [&err](const storage::TableRecovery& t) {
            err << "vtdb: " << t.table << ": " << t.copied << " records copied so far\n";
        });
    if (!tables.ok())
        return Fail(err, tables.status().ToString() + "; nothing saved");
    for (const storage::TableRecovery& t : tables.value()) {
        out << t.table << ": ";
        if (t.missing)
            out << "not found\n";
        else
            out << t.copied << " copied, " << t.lost << " could not be read\n";
    }
    out << "saved to " << dest.string() << "; to use it, move " << file.string()
        << " away and put the saved file in its place while no program uses it\n";
    return 0;
}

// The call log page's "Backup all" without its deletion: Logo.txt and the
// recordings in date folders under DEST.
int Backup(Options& o, std::ostream& out, std::ostream& err) {
    if (o.Rest().size() != 1)
        return Fail(err, "backup needs one DEST folder");
    CatchStopSignals();
    Status s = Prepare(err);
    vantelo::CRSCallList log;
    if (s.ok())
        s = log.Open();
    if (!s.ok())
        return Fail(err, s.ToString());
    const long total = log.GetRecordCount();
    vantelo::CallLogBackup backup(o.Rest()[0]);
    long written = 0;
    if (backup.Begin())
        written = backup.AddAll(log, &StopRequested());
    const bool complete = backup.Finish();
    if (StopRequested().load()) {
        err << "vtdb: stopped; " << backup.File().string() << " holds " << written << " of "
            << total << " calls\n";
        return 130;
    }
    if (!complete) {
        err << "vtdb: the backup is incomplete: " << backup.Failures().front();
        if (backup.Failures().size() > 1)
            err << " (and " << backup.Failures().size() - 1 << " more)";
        err << "\n";
        return 1;
    }
    out << written << " calls backed up to " << backup.File().string() << "\n";
    return 0;
}

// A refused rule is the user's mistake: its reason alone, without the code's name.
int FailRule(std::ostream& err, const Status& s) {
    if (s.code() == storage::ErrorCode::InvalidArgument ||
        s.code() == storage::ErrorCode::NoCurrentRecord)
        return Fail(err, s.message());
    return Fail(err, s);
}

int BlockAdd(Options& o, std::ostream& err) {
    std::string error;
    std::vector<std::string> action, note;
    // Values before flags, so a note may read "--permit".
    bool hasAction = o.Values("--action", 1, action, error);
    bool hasNote = error.empty() && o.Values("--note", 1, note, error);
    bool permit = error.empty() && o.Flag("--permit");
    if (!error.empty())
        return Fail(err, error);
    if (o.Rest().empty())
        return Fail(err, "block add needs one PATTERN");
    if (o.Rest().size() > 1)
        return Fail(err, "unexpected argument '" + o.Rest()[1] + "'");
    if (hasAction && permit)
        return Fail(err, "--action cannot go with --permit: a permit rule lets the call through");
    vantelo::ScreeningRule rule;
    rule.pattern = o.Rest()[0];
    if (permit)
        rule.kind = vantelo::RuleKind::Permit;
    if (hasAction) {
        auto named = vantelo::ActionNamed(action[0]);
        if (!named)
            return Fail(err, "--action needs hangup, ignore or greeting");
        rule.action = *named;
    }
    if (hasNote)
        rule.note = note[0];
    // Checked before the file is opened, as add-contact checks its fields.
    if (const std::string problem = vantelo::PatternProblem(rule.pattern); !problem.empty())
        return Fail(err, problem);
    Status s = Prepare(err);
    vantelo::CRSBlockList rules(vantelo::DefaultDatabasePath());
    if (s.ok())
        s = rules.Open();
    if (s.ok())
        s = rules.Add(rule);
    return s.ok() ? 0 : FailRule(err, s);
}

// Tabs and line ends would split the line; the note is free text.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

int BlockList(Options& o, std::ostream& out, std::ostream& err) {
    std::string error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    Status s = Prepare(err);
    vantelo::CRSBlockList set(vantelo::DefaultDatabasePath());
    if (s.ok())
        s = set.Open();
    if (!s.ok())
        return Fail(err, s);
    auto rules = set.Rules();
    if (!rules.ok())
        return Fail(err, rules.status());
    for (const vantelo::ScreeningRule& r : rules.value()) {
        const bool permit = r.kind == vantelo::RuleKind::Permit;
        out << OneLine(r.pattern) << "\t" << (permit ? "permit" : "block") << "\t"
            << (permit ? "-" : vantelo::ActionName(r.action)) << "\t" << r.hits << "\t"
            << (r.lastHit ? storage::FormatDateTime(*r.lastHit) : std::string("-")) << "\t"
            << OneLine(r.note) << "\n";
    }
    return 0;
}

int BlockRemove(Options& o, std::ostream& err) {
    if (o.Rest().empty())
        return Fail(err, "block remove needs one PATTERN");
    if (o.Rest().size() > 1)
        return Fail(err, "unexpected argument '" + o.Rest()[1] + "'");
    Status s = Prepare(err);
    vantelo::CRSBlockList rules(vantelo::DefaultDatabasePath());
    if (s.ok())
        s = rules.Open();
    if (s.ok())
        s = rules.Remove(o.Rest()[0]);
    return s.ok() ? 0 : FailRule(err, s);
}

// The call screening rules: "block add|list|remove".
int Block(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) {
        err << "vtdb: block needs add, list or remove\n" << kUsage;
        return 2;
    }
    Options o(args, 2);
    const std::string& command = args[1];
    if (command == "add")
        return BlockAdd(o, err);
    if (command == "list")
        return BlockList(o, out, err);
    if (command == "remove")
        return BlockRemove(o, err);
    err << "vtdb: unknown command 'block " << command << "'\n" << kUsage;
    return 2;
}

bool ToCallId(const std::string& s, long long& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size() && out > 0;
}

// The answering machine's new messages, one a line (id, start, number, name,
// seconds, recording), oldest first; "--heard ID|all" marks them heard.
int Messages(Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    std::vector<std::string> heard;
    const bool mark = o.Values("--heard", 1, heard, error);
    if (error.empty())
        error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    long long id = 0;
    const bool all = mark && heard[0] == "all";
    if (mark && !all && !ToCallId(heard[0], id))
        return Fail(err,
                    "--heard needs a message number (the first column of 'vtdb messages') "
                    "or all, not '" +
                        heard[0] + "'");
    Status s = Prepare(err);
    if (!s.ok())
        return Fail(err, s);
    vantelo::MessageInbox inbox(vantelo::DefaultDatabasePath());
    const vt::LocalTime now = vt::SystemClock::Instance().NowLocal();
    if (all) {
        auto marked = inbox.MarkAllHeard(now);
        return marked.ok() ? 0 : Fail(err, marked.status());
    }
    if (mark) {
        s = inbox.MarkHeard(id, now);
        if (s.code() == storage::ErrorCode::NoCurrentRecord)
            return Fail(err, s.message());
        return s.ok() ? 0 : Fail(err, s);
    }
    auto messages = inbox.NewMessages();
    if (!messages.ok())
        return Fail(err, messages.status());
    for (const vantelo::NewMessage& m : messages.value())
        out << m.callId << "\t" << m.start << "\t" << EscapeField(m.number) << "\t"
            << EscapeField(m.name) << "\t" << m.seconds << "\t" << EscapeField(m.recording) << "\n";
    return 0;
}

}  // namespace

std::atomic<bool>& StopRequested() {
    static std::atomic<bool> stop{false};
    return stop;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    Options o(args, 1);
    const std::string& command = args[0];
    if (command == "calls")
        return Calls(o, out, err);
    if (command == "contacts")
        return Contacts(o, out, err);
    if (command == "lookup")
        return Lookup(o, out, err);
    if (command == "add-contact")
        return AddContact(o, out, err);
    if (command == "import-calls")
        return ImportCalls(o, out, err);
    if (command == "check")
        return Check(o, out, err);
    if (command == "recover")
        return Recover(o, out, err);
    if (command == "backup")
        return Backup(o, out, err);
    if (command == "block")
        return Block(args, out, err);
    if (command == "mail-test") {
        CatchStopSignals();
        return MailTest({args.begin() + 1, args.end()}, out, err, &StopRequested());
    }
    if (command == "messages")
        return Messages(o, out, err);
    err << "vtdb: unknown command '" << command << "'\n" << kUsage;
    return 2;
}

}  // namespace vtdb
