#include "VtdbCommands.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <fstream>
#include <memory>
#include <ostream>

#include "MailTest.h"
#include "SyncCommand.h"
#include "TsvText.h"
#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/IniStore.h"
#include "storage/DatabaseRecovery.h"
#include "storage/DateTimeText.h"
#include "storage/Transaction.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vtdb {

namespace {

using storage::Status;

// The command line's texts: Korean, English through the "vtdb" catalog.
constexpr const char* kContext = "vtdb";
const char* const kUsage = QT_TRANSLATE_NOOP(
    "vtdb",
    "사용법: vtdb calls [--kind 탭] [--search 종류 글자]\n"
    "       vtdb contacts [--index N] [--group 그룹] [--search 종류 글자] [--inner]\n"
    "       vtdb lookup 번호 [--ext 코드]\n"
    "       vtdb add-contact [--inner] 필드=값...\n"
    "       vtdb import-calls 파일.tsv\n"
    "       vtdb check\n"
    "       vtdb recover 새파일\n"
    "       vtdb backup 폴더\n"
    "       vtdb block add 패턴 [--permit] [--action hangup|ignore|greeting] [--note 메모]\n"
    "       vtdb block list\n"
    "       vtdb block remove 패턴\n"
    "       vtdb mail-test\n"
    "       vtdb messages [--heard 번호|all]\n"
    "       vtdb sync\n");

std::string Usage() {
    return vt::i18n::Tr(kContext, kUsage);
}

// A text of the catalog with its arguments.
std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr(kContext, text, args);
}

// An import that stopped on an error (%1) leaves the log as it was.
constexpr const char* kNothingImported =
    QT_TRANSLATE_NOOP("vtdb", "%1; 아무것도 가져오지 않았습니다");

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
                error = T(QT_TRANSLATE_NOOP("vtdb", "%1에는 값이 %2개 필요합니다"),
                          {name, std::to_string(count)});
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
        return rest_.empty() ? std::string()
                             : T(QT_TRANSLATE_NOOP("vtdb", "예상하지 못한 인수 '%1'"), {rest_[0]});
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
        line += T(QT_TRANSLATE_NOOP("vtdb",
                                    "; 'vtdb check'로 파일을 검사하고, 'vtdb recover "
                                    "새파일'로 읽을 수 있는 내용을 저장합니다"));
    else if (s.code() == storage::ErrorCode::Incompatible)
        line += T(QT_TRANSLATE_NOOP("vtdb",
                                    "; 'vtdb recover 새파일'로 레코드를 이 프로그램이 쓸 "
                                    "수 있는 새 파일에 옮깁니다"));
    return Fail(err, line);
}

Status Prepare(std::ostream& err) {
    auto report = vantelo::PrepareDatabase(vt::SystemClock::Instance());
    if (!report.ok())
        return report.status();
    std::string notice = vantelo::PrepareNotice(report.value());
    if (!notice.empty())
        err << "vtdb: "
            << T(QT_TRANSLATE_NOOP("vtdb", "%1; %2(으)로 옮겼습니다"),
                 {report.value().reason, report.value().movedAside.string()})
            << "\n";
    return Status::Ok();
}

// Every record of the set (its first `fields` columns, all when 0), or the
// first error: a record that cannot be read is an error, never an empty row.
// A contact's number keys and a call's desk and id are the program's own.
Status PrintRecords(storage::RecordSet& set, std::ostream& out, size_t fields = 0) {
    const size_t columns = fields ? fields : set.Schema().columns.size();
    for (long i = 0; i < set.GetRecordCount(); ++i) {
        Status s = set.SetAbsolutePosition(i);
        if (!s.ok())
            return s;
        std::string line;
        for (size_t c = 0; c < columns; ++c) {
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "--kind에는 탭 번호 0..6이 필요합니다")));
    if (hasSearch && !ToInt(search[0], searchKind))
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "--search에는 종류 번호가 필요합니다")));
    Status s = Prepare(err);
    vantelo::CRSCallList log;
    if (s.ok())
        s = log.Open();
    if (s.ok() && hasKind)
        s = log.SetKindFilter(tab);
    if (s.ok() && hasSearch)
        s = log.SetSearch(searchKind, search[1]);
    if (s.ok())
        s = PrintRecords(log, out, vantelo::kCallListFields);
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "--index에는 번호 0..14가 필요합니다")));
    if (hasSearch && !ToInt(search[0], kind))
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "--search에는 종류 번호가 필요합니다")));
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
        s = PrintRecords(*set, out, 1 + vantelo::kContactFieldNames.size());
    return s.ok() ? 0 : Fail(err, s);
}

int Lookup(Options& o, std::ostream& out, std::ostream& err) {
    std::string error;
    std::vector<std::string> ext;
    bool hasExt = o.Values("--ext", 1, ext, error);
    if (!error.empty())
        return Fail(err, error);
    if (o.Rest().size() != 1)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "lookup에는 번호 하나가 필요합니다")));
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "add-contact에는 필드=값 인수가 필요합니다")));
    vantelo::ContactRecord contact;
    for (const std::string& arg : o.Rest()) {
        size_t eq = arg.find('=');
        std::string* field = eq == std::string::npos ? nullptr : contact.Field(arg.substr(0, eq));
        if (!field)
            return Fail(
                err,
                T(QT_TRANSLATE_NOOP("vtdb", "'%1'은(는) 연락처 필드의 필드=값이 아닙니다"), {arg}));
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
    // The call's own columns; the desk and the unique id are this desk's.
    const auto& columns = log.Schema().columns;
    const size_t count = vantelo::kCallListFields;
    if (fields.size() != count)
        return T(QT_TRANSLATE_NOOP("vtdb", "필드가 %1개입니다; %2개여야 합니다"),
                 {std::to_string(fields.size()), std::to_string(count)});
    Status s = log.AddNew();
    if (s.ok())
        s = log.SetField("CallDesk", vantelo::DeskName());
    if (s.ok())
        s = log.SetField("CallUid", vantelo::NewCallUid());
    for (size_t c = 0; s.ok() && c < count; ++c) {
        std::optional<std::string> text = UnescapeField(fields[c]);
        if (!text)
            return T(QT_TRANSLATE_NOOP("vtdb", "%1의 이스케이프가 잘못되었습니다"),
                     {columns[c].name});
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
        return Fail(err,
                    T(QT_TRANSLATE_NOOP("vtdb", "import-calls에는 파일.tsv 하나가 필요합니다")));
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
            Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                          "%1번째 줄에서 멈췄습니다; 아무것도 가져오지 "
                                          "않았습니다"),
                        {std::to_string(lineNo)}));
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
            return Fail(err, path + ":" + std::to_string(lineNo) + ": " +
                                 T(kNothingImported, {s.ToString()}));
        if (++count % 100000 == 0)
            err << "vtdb: "
                << T(QT_TRANSLATE_NOOP("vtdb", "통화 %1건을 읽었습니다"), {std::to_string(count)})
                << "\n";
    }
    if (in.bad())
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                             "%1을(를) 읽을 수 없습니다; 아무것도 가져오지 "
                                             "않았습니다"),
                           {path}));
    if (bad > 0)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                             "%1에 잘못된 줄이 %2개 있습니다%3; 아무것도 가져오지 "
                                             "않았습니다"),
                           {path, std::to_string(bad),
                            bad > kShownBad ? T(QT_TRANSLATE_NOOP("vtdb", " (처음 %1개만 보임)"),
                                                {std::to_string(kShownBad)})
                                            : std::string()}));
    s = transaction.Commit();
    if (!s.ok())
        return Fail(err, T(kNothingImported, {s.ToString()}));
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

// Checking and recovering read a file: the server keeps its own.
std::filesystem::path LocalFile() {
    return vt::ApplicationFolder() / vantelo::kDatabaseFileName;
}

int Check(Options& o, std::ostream& out, std::ostream& err) {
    std::string error = o.Leftover();
    if (!error.empty())
        return Fail(err, error);
    CatchStopSignals();
    // The file of this desk, also when DatabaseUrl names a shared server.
    const std::filesystem::path file = LocalFile();
    err << "vtdb: "
        << T(QT_TRANSLATE_NOOP("vtdb", "%1을(를) 검사합니다 (파일 전체를 읽습니다)"),
             {file.string()})
        << "\n";
    auto report = storage::CheckDatabaseFile(file, Tables(), &StopRequested());
    if (!report.ok())
        return Fail(err, report.status());
    const storage::CheckReport& r = report.value();
    for (const std::string& problem : r.problems) out << problem << "\n";
    if (!r.intact)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                             "%1이(가) 손상되었습니다 (위의 문제 %2개); "
                                             "'vtdb recover 새파일'로 읽을 수 있는 내용을 "
                                             "저장합니다"),
                           {file.string(), std::to_string(r.problems.size())}));
    if (!r.unusable.empty())
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                             "%1은(는) 온전하지만 이 프로그램이 쓸 수 "
                                             "없습니다: %2"),
                           {file.string(), r.unusable}));
    out << T(QT_TRANSLATE_NOOP("vtdb", "%1: 이상 없음"), {file.string()});
    if (!r.missing.empty())
        out << T(QT_TRANSLATE_NOOP("vtdb", "; 다음 시작 때 %1을(를) 더합니다"), {r.missing});
    out << "\n";
    return 0;
}

int Recover(Options& o, std::ostream& out, std::ostream& err) {
    if (o.Rest().size() != 1)
        return Fail(err,
                    T(QT_TRANSLATE_NOOP("vtdb", "recover에는 새 파일 이름 하나가 필요합니다")));
    CatchStopSignals();
    const std::filesystem::path file = LocalFile();
    const std::filesystem::path dest = std::filesystem::absolute(o.Rest()[0]);
    auto tables = storage::RecoverDatabaseFile(
        file, dest, Tables(), &StopRequested(), [&err](const storage::TableRecovery& t) {
            err << "vtdb: "
                << T(QT_TRANSLATE_NOOP("vtdb", "%1: 지금까지 레코드 %2개를 옮겼습니다"),
                     {t.table, std::to_string(t.copied)})
                << "\n";
        });
    if (!tables.ok())
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "%1; 아무것도 저장하지 않았습니다"),
                           {tables.status().ToString()}));
    for (const storage::TableRecovery& t : tables.value()) {
        if (t.missing)
            out << T(QT_TRANSLATE_NOOP("vtdb", "%1: 없음"), {t.table}) << "\n";
        else
            out << T(QT_TRANSLATE_NOOP("vtdb", "%1: %2개 옮김, %3개 읽을 수 없음"),
                     {t.table, std::to_string(t.copied), std::to_string(t.lost)})
                << "\n";
    }
    out << T(QT_TRANSLATE_NOOP("vtdb",
                               "%1에 저장했습니다; 쓰려면 어떤 프로그램도 쓰지 않을 때 "
                               "%2을(를) 치우고 저장한 파일을 그 자리에 두십시오"),
             {dest.string(), file.string()})
        << "\n";
    return 0;
}

// The call log page's "Backup all" without its deletion: Logo.txt and the
// recordings in date folders under DEST.
int Backup(Options& o, std::ostream& out, std::ostream& err) {
    if (o.Rest().size() != 1)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "backup에는 폴더 하나가 필요합니다")));
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
        err << "vtdb: "
            << T(QT_TRANSLATE_NOOP("vtdb", "멈췄습니다; %1에 통화 %3건 중 %2건이 있습니다"),
                 {backup.File().string(), std::to_string(written), std::to_string(total)})
            << "\n";
        return 130;
    }
    if (!complete) {
        err << "vtdb: "
            << T(QT_TRANSLATE_NOOP("vtdb", "백업이 완전하지 않습니다: %1"),
                 {backup.Failures().front()});
        if (backup.Failures().size() > 1)
            err << T(QT_TRANSLATE_NOOP("vtdb", " (외 %1건)"),
                     {std::to_string(backup.Failures().size() - 1)});
        err << "\n";
        return 1;
    }
    out << T(QT_TRANSLATE_NOOP("vtdb", "통화 %1건을 %2에 백업했습니다"),
             {std::to_string(written), backup.File().string()})
        << "\n";
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "block add에는 패턴 하나가 필요합니다")));
    if (o.Rest().size() > 1)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "예상하지 못한 인수 '%1'"), {o.Rest()[1]}));
    if (hasAction && permit)
        return Fail(
            err,
            T(QT_TRANSLATE_NOOP(
                "vtdb",
                "--action은 --permit과 함께 쓸 수 없습니다: 허용 규칙은 전화를 받아들입니다")));
    vantelo::ScreeningRule rule;
    rule.pattern = o.Rest()[0];
    if (permit)
        rule.kind = vantelo::RuleKind::Permit;
    if (hasAction) {
        auto named = vantelo::ActionNamed(action[0]);
        if (!named)
            return Fail(err,
                        T(QT_TRANSLATE_NOOP(
                            "vtdb", "--action에는 hangup, ignore 또는 greeting이 필요합니다")));
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "block remove에는 패턴 하나가 필요합니다")));
    if (o.Rest().size() > 1)
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb", "예상하지 못한 인수 '%1'"), {o.Rest()[1]}));
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
        err << "vtdb: "
            << T(QT_TRANSLATE_NOOP("vtdb", "block에는 add, list 또는 remove가 필요합니다")) << "\n"
            << Usage();
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
    err << "vtdb: " << T(QT_TRANSLATE_NOOP("vtdb", "알 수 없는 명령 '%1'"), {"block " + command})
        << "\n"
        << Usage();
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
        return Fail(err, T(QT_TRANSLATE_NOOP("vtdb",
                                             "--heard에는 메시지 번호('vtdb messages'의 "
                                             "첫 열) 또는 all이 필요합니다. '%1'은(는) "
                                             "아닙니다"),
                           {heard[0]}));
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
        (args.empty() ? err : out) << Usage();
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
    if (command == "sync")
        return SyncCommand({args.begin() + 1, args.end()}, out, err);
    err << "vtdb: " << T(QT_TRANSLATE_NOOP("vtdb", "알 수 없는 명령 '%1'"), {command}) << "\n"
        << Usage();
    return 2;
}

}  // namespace vtdb
