// vtdb on database files that other programs hold, damage or make read-only.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

#include "testsupport/DatabaseFixture.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Output {
    int code = -1;
    std::string text;  // standard output and error
};

class VtdbDatabaseTest : public ::testing::Test {
protected:
    Output Vtdb(const std::vector<std::string>& args) {
        const fs::path out = env_.Root() / ("out" + std::to_string(++runs_));
        vt::test::ProbeExit e =
            vt::test::WaitProbe(vt::test::StartProbe(Program(), args, out), 60s);
        Output o;
        o.code = e.hung || !WIFEXITED(e.status) ? -1 : WEXITSTATUS(e.status);
        o.text = vt::test::ReadText(out);
        return o;
    }

    static fs::path Program() { return vt::test::BinaryFolder() / "vtdb"; }
    fs::path Database() const { return env_.AppHome() / "VanteloDB1.db"; }

    // Calls numbered 1..count, one minute apart.
    void ImportCalls(int count) {
        const fs::path tsv = env_.Root() / "calls.tsv";
        std::ofstream f(tsv);
        for (int i = 1; i <= count; ++i) {
            char date[32];
            std::snprintf(date, sizeof date, "2007-03-12 %02d:%02d:%02d", 10 + i / 3600 % 10,
                          i / 60 % 60, i % 60);
            f << i % 5 << "\tName " << i << "\t02" << 10000000 + i << "\t0\t" << date << "\t" << i
              << "\t\t\t0\t\t0\tmemo of call " << i << "\n";
        }
        f.close();
        Output o = Vtdb({"import-calls", tsv.string()});
        ASSERT_EQ(o.code, 0) << o.text;
    }

    vt::test::TestEnvironment env_;
    int runs_ = 0;
};

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(VtdbDatabaseTest, ColumnAddedByAnotherToolKeepsTheWholeFileInUse) {
    ASSERT_EQ(Vtdb({"add-contact", "Name=김철수", "CellPhone=0212345678"}).code, 0);
    ImportCalls(3);
    vt::test::QueryText(Database(), "ALTER TABLE CallList ADD COLUMN Rating REAL");
    vt::test::QueryText(Database(), "CREATE TABLE Tags (Name TEXT)");
    EXPECT_EQ(Vtdb({"lookup", "0212345678"}).text, "김철수\n");
    EXPECT_EQ(Lines(Vtdb({"calls"}).text), 3);
    EXPECT_EQ(Vtdb({"check"}).code, 0);
    for (const auto& e : fs::directory_iterator(env_.AppHome()))
        EXPECT_EQ(e.path().filename().string().find("damaged"), std::string::npos);
    // A column the program needs, of a type that cannot hold its values: refused, kept.
    vt::test::QueryText(Database(), "ALTER TABLE InnerLineList RENAME TO Old");
    vt::test::QueryText(Database(),
                        "CREATE TABLE InnerLineList (ID INTEGER PRIMARY KEY, Name "
                        "BLOB)");
    vt::test::QueryText(Database(), "INSERT INTO InnerLineList (Name) VALUES ('x')");
    const std::string before = vt::test::ReadText(Database());
    Output refused = Vtdb({"lookup", "0212345678"});
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.text.find("InnerLineList.Name"), std::string::npos) << refused.text;
    EXPECT_EQ(Lines(refused.text), 1);
    EXPECT_EQ(vt::test::ReadText(Database()), before);
    EXPECT_NE(Vtdb({"check"}).code, 0);
    // Its records move into a file of the program's own shape.
    Output saved = Vtdb({"recover", (env_.Root() / "saved.db").string()});
    EXPECT_EQ(saved.code, 0) << saved.text;
    EXPECT_NE(saved.text.find("InnerLineList: 1개 옮김, 0개 읽을 수 없음"), std::string::npos)
        << saved.text;
    EXPECT_NE(saved.text.find("AddressList: 1개 옮김"), std::string::npos) << saved.text;
}

TEST_F(VtdbDatabaseTest, ImportNamesEveryBadLineAndCtrlCLeavesTheLogAsItWas) {
    ImportCalls(3);
    const std::string good = "1\tKim\t0212345678\t0\t2007-03-12 10:00:00\t5\t\t\t0\t\t0\t\n";
    const fs::path bad = env_.Root() / "bad.tsv";
    std::ofstream(bad) << good << "1\tshort\t0\n"
                       << good << "1\tX\t1\t300\t2007-03-12 10:00:00\t1\t\t\t0\t\t0\t\n"
                       << "1\tX\t1\t0\t2007-03-12 10:00:00\t1\t\t\t0\t\\q\t0\t\n"
                       << good;
    Output o = Vtdb({"import-calls", bad.string()});
    EXPECT_NE(o.code, 0);
    for (const char* where :
         {"bad.tsv:2: 필드가 3개입니다; 12개여야 합니다\n",
          "bad.tsv:4: ", "bad.tsv:5: CallDtmf의 이스케이프가 잘못되었습니다\n", "잘못된 줄이 3개"})
        EXPECT_NE(o.text.find(where), std::string::npos) << where << " in " << o.text;
    EXPECT_EQ(o.text.find("bad.tsv:3"), std::string::npos) << o.text;
    EXPECT_EQ(Lines(o.text), 4) << o.text;  // one line per bad line, one summary
    EXPECT_EQ(Lines(Vtdb({"calls"}).text), 3);

    // Ctrl+C in the middle of a long import: nothing of it is stored.
    const fs::path big = env_.Root() / "big.tsv";
    {
        std::ofstream f(big);
        for (int i = 0; i < 400000; ++i) f << good;
    }
    const fs::path log = env_.Root() / "import.out";
    vt::test::Probe p = vt::test::StartProbe(Program(), {"import-calls", big.string()}, log);
    ASSERT_NE(p.pid, 0);
    for (int i = 0;
         i < 6000 && vt::test::ReadText(log).find("건을 읽었습니다") == std::string::npos; ++i)
        std::this_thread::sleep_for(10ms);
    ::kill(p.pid, SIGINT);
    vt::test::ProbeExit e = vt::test::WaitProbe(p, 60s);
    ASSERT_FALSE(e.hung);
    ASSERT_TRUE(WIFEXITED(e.status));
    EXPECT_EQ(WEXITSTATUS(e.status), 130) << vt::test::ReadText(log);
    EXPECT_NE(vt::test::ReadText(log).find("아무것도 가져오지 않았습니다"), std::string::npos);
    EXPECT_EQ(Lines(Vtdb({"calls"}).text), 3);
}

TEST_F(VtdbDatabaseTest, DamagedCallLogFailsLoudlyAndCanBeSaved) {
    ImportCalls(2000);
    ASSERT_TRUE(vt::test::DamageTablePage(Database(), "CallList", 5, vt::test::PageDamage::Cells));
    Output calls = Vtdb({"calls"});
    EXPECT_NE(calls.code, 0);
    EXPECT_EQ(calls.text.rfind("vtdb: 손상된 데이터베이스: ", 0), 0u) << calls.text;
    EXPECT_EQ(calls.text.find("\t\t\t\t\t"), std::string::npos) << "an empty row was printed";

    Output check = Vtdb({"check"});
    EXPECT_NE(check.code, 0);
    EXPECT_NE(check.text.find("손상되었습니다"), std::string::npos) << check.text;

    const fs::path saved = env_.Root() / "saved.db";
    Output recover = Vtdb({"recover", saved.string()});
    ASSERT_EQ(recover.code, 0) << recover.text;
    size_t at = recover.text.find("CallList: ");
    ASSERT_NE(at, std::string::npos) << recover.text;
    long copied = std::atol(recover.text.c_str() + at + 10);
    EXPECT_GT(copied, 1900);
    EXPECT_LT(copied, 2000);

    // The saved file in place of the damaged one: everything it holds reads.
    fs::rename(Database(), env_.Root() / "damaged.db");
    fs::rename(saved, Database());
    Output after = Vtdb({"calls"});
    EXPECT_EQ(after.code, 0) << after.text.substr(0, 200);
    EXPECT_EQ(Lines(after.text), copied);
    EXPECT_EQ(Vtdb({"check"}).code, 0);
    EXPECT_NE(Vtdb({"recover", env_.Root().string() + "/damaged.db"}).code, 0);
}

TEST_F(VtdbDatabaseTest, SeveralProgramsStartingOnAMissingFileAllSucceed) {
    constexpr int kPrograms = 8;
    for (int round = 0; round < 3; ++round) {
        fs::remove(Database());
        std::vector<vt::test::Probe> probes;
        std::vector<fs::path> outputs;
        for (int i = 0; i < kPrograms; ++i) {
            outputs.push_back(env_.Root() / ("start" + std::to_string(i)));
            probes.push_back(vt::test::StartProbe(
                Program(),
                {"add-contact", "Name=p" + std::to_string(i), "HomePhone=0" + std::to_string(i)},
                outputs.back()));
        }
        for (int i = 0; i < kPrograms; ++i) {
            vt::test::ProbeExit e = vt::test::WaitProbe(probes[i], 60s);
            EXPECT_TRUE(WIFEXITED(e.status) && WEXITSTATUS(e.status) == 0)
                << "round " << round << ": " << vt::test::ReadText(outputs[i]);
        }
        EXPECT_EQ(Lines(Vtdb({"contacts"}).text), kPrograms) << "round " << round;
        fs::remove(Database().string() + "-wal");
        fs::remove(Database().string() + "-shm");
    }
}

// Another process holding the write lock until told to commit.
class LongWriter {
public:
    explicit LongWriter(const fs::path& file) {
        int locked[2], release[2];
        if (::pipe(locked) != 0 || ::pipe(release) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(locked[0]);
            ::close(release[1]);
            sqlite3* db = nullptr;
            int rc = sqlite3_open(file.c_str(), &db);
            sqlite3_busy_timeout(db, 5000);
            if (rc == SQLITE_OK)
                rc = sqlite3_exec(db,
                                  "BEGIN IMMEDIATE; INSERT INTO CallList (CallMode, CallName, "
                                  "CallNum) VALUES (1, 'during', '0299999999')",
                                  nullptr, nullptr, nullptr);
            char c = rc == SQLITE_OK ? '1' : '0';
            (void)!::write(locked[1], &c, 1);
            (void)!::read(release[0], &c, 1);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            ::_exit(0);
        }
        ::close(locked[1]);
        ::close(release[0]);
        release_ = release[1];
        char c = '0';
        holding_ = pid_ > 0 && ::read(locked[0], &c, 1) == 1 && c == '1';
        ::close(locked[0]);
    }
    ~LongWriter() { Commit(); }
    bool Holding() const { return holding_; }
    void Commit() {
        if (release_ >= 0) {
            ::close(release_);
            release_ = -1;
        }
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool holding_ = false;
};

TEST_F(VtdbDatabaseTest, CallerIsNamedWhileAnotherProgramWrites) {
    ASSERT_EQ(Vtdb({"add-contact", "Name=김철수", "CellPhone=0212345678"}).code, 0);
    ImportCalls(10);
    LongWriter writer(Database());
    ASSERT_TRUE(writer.Holding());
    // Nothing here waits for the writer's lock: each answers at once.
    Output lookup = Vtdb({"lookup", "0212345678"});
    EXPECT_EQ(lookup.code, 0) << lookup.text;
    EXPECT_EQ(lookup.text, "김철수\n");
    Output calls = Vtdb({"calls"});
    EXPECT_EQ(calls.code, 0) << calls.text;
    EXPECT_EQ(Lines(calls.text), 10);
    EXPECT_EQ(Vtdb({"check"}).code, 0);
    writer.Commit();
    EXPECT_EQ(Lines(Vtdb({"calls"}).text), 11);
}

class VtdbReadOnlyTest : public VtdbDatabaseTest,
                         public ::testing::WithParamInterface<vt::test::ReadOnlyFolder::Kind> {};

TEST_P(VtdbReadOnlyTest, ReadOnlyPlaceIsReadAndWritesSayReadOnly) {
    ASSERT_EQ(Vtdb({"add-contact", "Name=Kim", "HomePhone=0212345678"}).code, 0);
    ImportCalls(3);
    const std::string before = vt::test::ReadText(Database());
    vt::test::ReadOnlyFolder readOnly(env_.AppHome(), GetParam());
    if (!readOnly.Active())
        GTEST_SKIP() << readOnly.Why();
    Output lookup = Vtdb({"lookup", "0212345678"});
    EXPECT_EQ(lookup.code, 0) << lookup.text;
    EXPECT_EQ(lookup.text, "Kim\n");
    EXPECT_EQ(Lines(Vtdb({"calls"}).text), 3);
    EXPECT_EQ(Vtdb({"check"}).code, 0);
    Output add = Vtdb({"add-contact", "Name=Lee"});
    EXPECT_NE(add.code, 0);
    EXPECT_EQ(add.text.rfind("vtdb: 읽기 전용: ", 0), 0u) << add.text;
    EXPECT_NE(add.text.find("; 아무것도 바꾸지 않았습니다"), std::string::npos) << add.text;
    EXPECT_EQ(Lines(add.text), 1);
    EXPECT_EQ(vt::test::ReadText(Database()), before);
}

INSTANTIATE_TEST_SUITE_P(Places, VtdbReadOnlyTest,
                         ::testing::Values(vt::test::ReadOnlyFolder::Kind::Mount,
                                           vt::test::ReadOnlyFolder::Kind::Folder),
                         [](const auto& info) {
                             return info.param == vt::test::ReadOnlyFolder::Kind::Mount
                                        ? std::string("Mount")
                                        : std::string("Folder");
                         });

TEST_F(VtdbDatabaseTest, OverLongSearchFindsNothingInsteadOfFailing) {
    ImportCalls(3);
    ASSERT_EQ(Vtdb({"add-contact", "Name=Kim"}).code, 0);
    std::string hangul;
    for (int i = 0; i < 17000; ++i) hangul += "김";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"calls", "--search", "1", hangul},
          {"calls", "--search", "5", std::string(60000, 'm')},
          {"contacts", "--search", "3", std::string(60000, '0')}}) {
        Output o = Vtdb(args);
        EXPECT_EQ(o.code, 0) << args[0] << ": " << o.text.substr(0, 200);
        EXPECT_EQ(o.text, "");
    }
}

}  // namespace
