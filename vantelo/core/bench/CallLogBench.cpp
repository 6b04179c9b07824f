// Timings of the call log and contact record sets on a database this program
// generates: start-up preparation of the existing file (which must write
// nothing), caller-ID lookups while another process imports calls, open +
// walk + count, every kind tab and search, AppendCall with its re-apply,
// caller-ID matching, and reading a row by absolute position.
//
//   vantelo_core_bench [--calls N] [--contacts N] [--runs N] [--import N] [--folder DIR]
//                      [--server]
//
// With --server the same runs on a shared PostgreSQL database instead of the
// file: a private server of the bench's own (as the tests start it), so the
// figures of both engines come from one program.
//
// Each figure is the median of --runs runs (the absolute-position figure is
// the median of 10000 random reads per run).

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "storage/Transaction.h"
#include "testsupport/PostgresServer.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Die(const std::string& what, const storage::Status& s) {
    std::fprintf(stderr, "bench: %s: %s\n", what.c_str(), s.ToString().c_str());
    std::exit(1);
}

void Check(const std::string& what, const storage::Status& s) {
    if (!s.ok())
        Die(what, s);
}

double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double TimeMs(const std::function<void()>& f) {
    auto t0 = Clock::now();
    f();
    return Millis(Clock::now() - t0);
}

const char* const kSurnames[] = {"김", "이", "박", "최", "정", "강", "조", "윤", "장", "임",
                                 "한", "오", "서", "신", "권", "황", "안", "송", "류", "홍"};
const char* const kGiven[] = {"민준", "서연", "도윤", "지우", "하준", "서윤", "시우", "하은",
                              "주원", "지민", "예준", "수아", "지호", "지아", "준서", "다은"};

std::string Name(std::mt19937& rng) {
    return std::string(kSurnames[rng() % 20]) + kGiven[rng() % 16] + std::to_string(rng() % 100);
}

std::string Phone(std::mt19937& rng) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "010%08u", static_cast<unsigned>(rng() % 100000000));
    return buf;
}

// `begun` runs once the write lock is held.
void GenerateCalls(const fs::path& db, long count, const std::function<void()>& begun = {}) {
    vantelo::CRSCallList log(db);
    Check("open", log.Open());
    storage::Transaction t(*log.GetConnection());
    Check("begin", t.Begin());
    if (begun)
        begun();
    std::mt19937 rng(7);
    vt::LocalTime at{2005, 1, 1, 0, 0, 0};
    std::time_t base = 1104537600;  // 2005-01-01 UTC; only the spacing matters
    for (long i = 0; i < count; ++i) {
        std::time_t when = base + i * 90 + static_cast<std::time_t>(rng() % 60);
        std::tm tm{};
        gmtime_r(&when, &tm);
        at = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
        vantelo::CallRecord call;
        call.CallMode = static_cast<int>(rng() % 5);
        call.CallName = rng() % 4 ? Name(rng) : "";
        call.CallNum = Phone(rng);
        call.CallCompressMode = 3;
        call.CallDate = at;
        call.CallTime = call.CallMode == 2 ? 0 : static_cast<long>(rng() % 900);
        call.CallRec = rng() % 3 == 0;
        if (call.CallRec) {
            char dir[96], file[32];
            std::snprintf(dir, sizeof dir, "/home/user/.local/share/Vantelo/Record/%04d-%02d-%02d/",
                          at.year, at.month, at.day);
            std::snprintf(file, sizeof file, "%02d%02d%02d.vrc", at.hour, at.minute, at.second);
            call.CallRecDirectory = dir;
            call.CallRecFileName = file;
        }
        call.CallDtmf = rng() % 5 == 0 ? std::to_string(rng() % 1000) : "";
        call.CallMemo = rng() % 10 == 0 ? "메모 " + std::to_string(i) : "";
        Check("add", log.AddNew());
        Check("fields", call.Write(log));
        Check("update", log.Update());
    }
    Check("commit", t.Commit());
}

std::string GenerateContacts(const fs::path& db, long count) {
    vantelo::CRSAddressList book;
    Check("open", book.Open(db));
    storage::Transaction t(*book.GetConnection());
    Check("begin", t.Begin());
    std::mt19937 rng(11);
    std::string sample;
    for (long i = 0; i < count; ++i) {
        vantelo::ContactRecord c;
        *c.Field("Name") = Name(rng);
        *c.Field("Group") = i % 3 ? "친구" : "회사";
        *c.Field("HomePhone") = "02" + std::to_string(10000000 + i);
        *c.Field("CellPhone") = Phone(rng);
        *c.Field("CompanyPhone1") = "031" + std::to_string(20000000 + i);
        *c.Field("CompanyName") = "회사" + std::to_string(i % 500);
        if (i == count / 2)
            sample = *c.Field("CellPhone");
        Check("add", book.AddNew());
        Check("fields", c.Write(book));
        Check("update", book.Update());
    }
    Check("commit", t.Commit());
    return sample;
}

// Size and modification time of the file and its log: any write changes them.
std::string FileState(const fs::path& db) {
    std::string out;
    for (const char* suffix : {"", "-wal"}) {
        struct stat st {};
        if (::stat((db.string() + suffix).c_str(), &st) == 0)
            out += std::to_string(st.st_size) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
                   std::to_string(st.st_mtim.tv_nsec) + " ";
    }
    return out;
}

void MeasurePreparation(const fs::path& db, long calls, int runs) {
    std::vector<double> t;
    const bool file = !vantelo::IsSharedDatabase(db);
    const std::string before = file ? FileState(db) : std::string();
    for (int r = 0; r < runs; ++r) {
        storage::Result<storage::PrepareReport> report = storage::PrepareReport{};
        t.push_back(
            TimeMs([&] { report = vantelo::PrepareDatabase(vt::SystemClock::Instance(), db); }));
        Check("prepare", report.status());
        if (report.value().changed)
            Die("prepare wrote to a complete file", storage::Status());
    }
    const bool untouched = !file || FileState(db) == before;
    const std::string label = "start-up preparation, " + std::to_string(calls) + " calls";
    std::printf("%-52s %10.2f\n", label.c_str(), Median(t));
    if (file)
        std::printf("  file and log %s\n", untouched ? "unchanged: nothing written" : "CHANGED");
    if (!untouched)
        Die("prepare changed the file", storage::Status());
}

// A ringing phone while another process imports `count` calls in one
// transaction: lookups on open record sets (the running program) and whole
// starts (prepare, open both contact tables, look up), until the import ends.
void MeasureLookupDuringImport(const fs::path& db, const std::string& known, long count) {
    int locked[2];
    if (::pipe(locked) != 0)
        Die("pipe", storage::Status());
    const auto importStart = Clock::now();
    // The child opens its own connections; none of this process is open now.
    pid_t child = ::fork();
    if (child == 0) {
        ::close(locked[0]);
        GenerateCalls(db, count, [&] { (void)!::write(locked[1], "1", 1); });
        ::_exit(0);
    }
    ::close(locked[1]);
    char c = 0;
    if (::read(locked[0], &c, 1) != 1)
        Die("the importing process did not start", storage::Status());
    ::close(locked[0]);
    std::printf("another process imports %ld calls in one transaction; meanwhile:\n", count);
    vantelo::CRSAddressList book;
    vantelo::CRSInnerLineList inner;
    double openMs = TimeMs([&] {
        Check("open book", book.Open(db));
        Check("open inner", inner.Open(db));
    });
    std::vector<double> warm, cold;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        warm.push_back(TimeMs([&] {
            auto name = vantelo::LookupName(known, "", book, inner);
            if (!name.ok() || name.value().empty())
                Die("lookup during the import", name.ok() ? storage::Status() : name.status());
        }));
        cold.push_back(TimeMs([&] {
            Check("prepare", vantelo::PrepareDatabase(vt::SystemClock::Instance(), db).status());
            vantelo::CRSAddressList b;
            vantelo::CRSInnerLineList i;
            Check("open", b.Open(db));
            Check("open", i.Open(db));
            auto name = vantelo::LookupName(known, "", b, i);
            if (!name.ok() || name.value().empty())
                Die("start + lookup during the import",
                    name.ok() ? storage::Status() : name.status());
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    double importMs = Millis(Clock::now() - importStart);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Die("the import failed", storage::Status());
    std::printf("  import took %.0f ms; %zu lookups of each kind answered, none refused\n",
                importMs, warm.size());
    std::printf("%-52s %10.2f\n", "  open both contact record sets", openMs);
    std::printf("%-52s %10.3f\n", "  LookupName on open record sets, median", Median(warm));
    std::printf("%-52s %10.3f\n", "  LookupName on open record sets, slowest",
                warm.empty() ? 0 : *std::max_element(warm.begin(), warm.end()));
    std::printf("%-52s %10.3f\n", "  prepare + open + LookupName (a start), median", Median(cold));
    std::printf("%-52s %10.3f\n", "  prepare + open + LookupName (a start), slowest",
                cold.empty() ? 0 : *std::max_element(cold.begin(), cold.end()));
}

}  // namespace

int main(int argc, char** argv) {
    long calls = 1000000, contacts = 100000, import = 400000;
    int runs = 5;
    fs::path folder;
    bool server = false;
    for (int i = 1; i < argc; ++i) server = server || std::string(argv[i]) == "--server";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--server") {
            --i;
            continue;
        }
        if (a == "--calls")
            calls = std::atol(argv[i + 1]);
        else if (a == "--contacts")
            contacts = std::atol(argv[i + 1]);
        else if (a == "--runs")
            runs = std::atoi(argv[i + 1]);
        else if (a == "--import")
            import = std::atol(argv[i + 1]);
        else if (a == "--folder")
            folder = argv[i + 1];
    }
    bool ownFolder = folder.empty();
    if (ownFolder)
        folder = fs::temp_directory_path() / ("vantelo-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path db = folder / vantelo::kDatabaseFileName;
    fs::remove(db);
    // Started before any record set, stopped at exit.
    if (server)
        db = vt::test::PostgresServer::Shared().NewDatabase();
    Check("prepare", vantelo::PrepareDatabase(vt::SystemClock::Instance(), db).status());

    std::printf("generating %ld calls and %ld contacts in %s\n", calls, contacts,
                storage::DisplayName(db.native()).c_str());
    double genCalls = TimeMs([&] { GenerateCalls(db, calls); });
    std::string known;
    double genContacts = TimeMs([&] { known = GenerateContacts(db, contacts); });
    std::printf("  generated in %.0f ms + %.0f ms\n\n", genCalls, genContacts);
    std::printf("%-52s %10s\n", "operation (median of runs)", "ms");
    MeasurePreparation(db, calls, runs);
    if (import > 0)
        MeasureLookupDuringImport(db, known, import);
    calls += import;

    std::vector<double> t;
    for (int r = 0; r < runs; ++r) {
        t.push_back(TimeMs([&] {
            vantelo::CRSCallList log(db);
            Check("open", log.Open());
            if (log.GetRecordCount() != calls)
                Die("count", storage::Status());
        }));
    }
    std::printf("%-52s %10.2f\n", "open + walk to end + record count", Median(t));

    vantelo::CRSCallList log(db);
    Check("open", log.Open());
    struct Step {
        std::string label;
        std::function<storage::Status()> apply;
    };
    std::vector<Step> steps;
    for (int tab = 1; tab <= 6; ++tab)
        steps.push_back(
            {"kind tab " + std::to_string(tab), [&log, tab] { return log.SetKindFilter(tab); }});
    const std::pair<int, std::string> searches[] = {{1, "김민"}, {2, "0101"},   {3, "060315"},
                                                    {4, "12"},   {5, "메모 5"}, {0, ""}};
    for (const auto& [kind, text] : searches)
        steps.push_back({"search kind " + std::to_string(kind) + " '" + text + "'",
                         [&log, kind = kind, text = text] { return log.SetSearch(kind, text); }});
    steps.push_back({"kind tab 0 (whole log)", [&log] { return log.SetKindFilter(0); }});
    std::vector<std::vector<double>> stepTimes(steps.size());
    std::vector<long> stepCounts(steps.size());
    for (int r = 0; r < runs; ++r)
        for (size_t i = 0; i < steps.size(); ++i) {
            stepTimes[i].push_back(TimeMs([&] { Check(steps[i].label, steps[i].apply()); }));
            stepCounts[i] = log.GetRecordCount();
        }
    for (size_t i = 0; i < steps.size(); ++i) {
        std::string label = steps[i].label + " (" + std::to_string(stepCounts[i]) + " rows)";
        std::printf("%-52s %10.2f\n", label.c_str(), Median(stepTimes[i]));
    }
    t.clear();
    for (int r = 0; r < runs; ++r) t.push_back(TimeMs([&] { Check("again", log.ReApply()); }));
    std::printf("%-52s %10.2f\n", "re-apply of an unchanged filter", Median(t));

    const std::pair<std::string, std::function<storage::Status()>> appendUnder[] = {
        {"AppendCall + re-apply, whole log", [&] { return log.SetKindFilter(0); }},
        {"AppendCall + re-apply, kind tab 2", [&] { return log.SetKindFilter(2); }},
        {"AppendCall + re-apply, name search by date", [&] { return log.SetSearch(1, "김"); }},
    };
    vt::FixedClock now = vt::FixedClock::At(2030, 1, 1, 12, 0, 0);
    for (const auto& [label, filter] : appendUnder) {
        Check(label, filter());
        t.clear();
        for (int r = 0; r < std::max(runs, 9); ++r) {
            vantelo::CallRecord call;
            call.Reset(now);
            call.CallMode = 1;
            call.CallName = "김민준";
            call.CallNum = "0212345678";
            now.AdvanceSeconds(60);
            t.push_back(TimeMs([&] { Check("append", log.AppendCall(call, now)); }));
        }
        std::printf("%-52s %10.2f\n", label.c_str(), Median(t));
    }

    Check("tab 0", log.SetKindFilter(0));
    std::mt19937 rng(3);
    std::vector<double> reads;
    double worst = 0;
    for (int r = 0; r < runs; ++r) {
        std::vector<double> perRun;
        for (int i = 0; i < 10000; ++i) {
            long pos = static_cast<long>(rng() % static_cast<unsigned>(log.GetRecordCount()));
            double ms = TimeMs([&] {
                Check("move", log.MoveFirst());
                Check("absolute", log.SetAbsolutePosition(pos));
                Check("read", log.CurrentCall().status());
            });
            perRun.push_back(ms);
            worst = std::max(worst, ms);
        }
        reads.push_back(Median(perRun));
    }
    std::printf("%-52s %10.4f\n", "row by absolute position (all 12 fields)", Median(reads));
    std::printf("%-52s %10.4f\n", "  slowest single read", worst);

    vantelo::CRSAddressList book;
    Check("book", book.Open(db));
    t.clear();
    std::vector<double> miss;
    for (int r = 0; r < std::max(runs, 200); ++r) {
        std::string name;
        t.push_back(TimeMs([&] { name = book.MatchNumber(known, "").value_or(""); }));
        if (name.empty())
            Die("match", storage::Status());
        miss.push_back(TimeMs([&] { (void)book.MatchNumber("0299999999", ""); }));
    }
    std::printf("%-52s %10.3f\n",
                ("MatchNumber in " + std::to_string(contacts) + " contacts").c_str(), Median(t));
    std::printf("%-52s %10.3f\n", "MatchNumber, no match", Median(miss));
    Check("index", book.SetIndex(1));
    t.clear();
    for (int r = 0; r < std::max(runs, 200); ++r)
        t.push_back(TimeMs([&] { (void)book.MatchNumber(known, ""); }));
    std::printf("%-52s %10.3f\n", "MatchNumber with index tab 1 in force", Median(t));

    if (ownFolder)
        fs::remove_all(folder);
    return 0;
}
