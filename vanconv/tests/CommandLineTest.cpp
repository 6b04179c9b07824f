// The command line: parsing, the transfers it runs and their summary
// lines, and the exit status of the program itself.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "VanconvFixture.h"
#include "platform/IniStore.h"
#include "testsupport/ProbeProcess.h"
#include "vanconv/BatchConvert.h"
#include "vanconv/CommandLine.h"
#include "vanconv/ContactFile.h"
#include "vanconv/RunningVantelo.h"

namespace vanconv {
namespace {

using Mode = CommandLine::Mode;

CommandLine P(std::vector<std::string> args) {
    return CommandLine::Parse(args);
}

TEST(CommandLineTest, ParsesTheTransfers) {
    EXPECT_EQ(P({}).mode, Mode::Window);
    EXPECT_EQ(P({"--help"}).mode, Mode::Help);
    auto cl = P({"--export", "out.xlsx"});
    EXPECT_EQ(cl.mode, Mode::Export);
    EXPECT_EQ(cl.file, "out.xlsx");
    cl = P({"--import", "in.xls", "--sheet", "2", "--rows", "3-40000", "--map",
            "Name=1,group=3,WebPage=27", "--replace"});
    ASSERT_EQ(cl.mode, Mode::Import) << cl.error;
    EXPECT_EQ(cl.sheet, 2);
    EXPECT_EQ(cl.firstRow, 3);
    EXPECT_EQ(cl.lastRow, 40000);
    EXPECT_EQ(cl.columns[0], 1);
    EXPECT_EQ(cl.columns[1], 3);
    EXPECT_EQ(cl.columns[15], 27);
    EXPECT_EQ(cl.columns[2], 0);
    EXPECT_TRUE(cl.replace);
    EXPECT_TRUE(P({"--import", "a.vcf", "--map", "auto"}).autoMap);
    cl = P({"--import", "a.vcf"});  // the fields come from row 1
    EXPECT_EQ(cl.mode, Mode::Import) << cl.error;
    EXPECT_TRUE(cl.autoMap);
    EXPECT_FALSE(P({"--import", "a.csv", "--map", "Name=2"}).autoMap);
}

TEST(CommandLineTest, RefusesWhatItCannotRunWithAReason) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--import", "a.xlsx", "--map"},
             {"--import", "a.xlsx", "--map", "Nome=1"},
             {"--import", "a.xlsx", "--map", "Name=x"},
             {"--import", "a.xlsx", "--map", "Name=0"},
             {"--import", "a.xlsx", "--map", "Name=1", "--rows", "5"},
             {"--import", "a.xlsx", "--map", "Name=1", "--sheet", "0"},
             {"--export", "a.xlsx", "--replace"},
             {"--export"},
             {"--export", "a.xlsx", "--import", "b.xlsx"},
             {"stray"}}) {
        const auto cl = P(args);
        EXPECT_EQ(cl.mode, Mode::Error) << args[0];
        EXPECT_FALSE(cl.error.empty());
    }
}

// The transfers in this process, their lines captured.
class BatchTest : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        const CommandLine cl = CommandLine::Parse(args);
        EXPECT_NE(cl.mode, Mode::Error) << cl.error;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        RunningVantelo program;
        const int status = BatchConvert(program, out, err).Run(cl);
        out_ = Read(out);
        err_ = Read(err);
        return status;
    }
    static std::string Read(std::FILE* f) {
        std::rewind(f);
        std::string s;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
        return s;
    }
    // A file of the test with this text.
    std::string Write(const std::string& name, const std::string& text) {
        const auto path = env_.Root() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    // A contact book holding only SampleContact(1), at `database`.
    static void FreshBook(const std::filesystem::path& database) {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(database.string() + suffix);
        std::filesystem::create_directories(database.parent_path());
        test::AddContacts(database, {test::SampleContact(1)});
    }
    vt::test::TestEnvironment env_;
    std::string out_, err_;
};

TEST_F(BatchTest, ExportAndImportWithSummaryLines) {
    const VanteloInstall install = test::Register(env_);
    test::AddContacts(install.databasePath, {test::SampleContact(1), test::SampleContact(2)});
    const std::string file = (env_.Root() / "book.xlsx").string();
    ASSERT_EQ(Run({"--export", file}), 0) << err_;
    EXPECT_EQ(out_, "vanconv: 연락처 2개를 " + file + "(으)로 내보냈습니다\n");

    ASSERT_EQ(Run({"--import", file, "--map", "auto", "--replace"}), 0) << err_;
    EXPECT_EQ(out_,
              "vanconv: " + file +
                  "에서 연락처 2개를 가져왔습니다 (시트 1, 2-3행), 연락처를 모두 바꾸었습니다\n");
    ASSERT_EQ(Run({"--import", file, "--rows", "3-3", "--map", "Name=1,CellPhone=5"}), 0);
    const auto all = test::AllContacts(install.databasePath);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2][0], test::SampleContact(2)[0]);
    EXPECT_EQ(all[2][1], "그룹지정 안함");
    EXPECT_EQ(all[2][4], test::SampleContact(2)[4]);
}

TEST_F(BatchTest, ImportWithoutAMapTakesTheFieldsFromRowOne) {
    const VanteloInstall install = test::Register(env_);
    const std::string cards =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:김철수\r\nTEL;TYPE=CELL:010-1\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:이영희\r\nCATEGORIES:친구\r\nEND:VCARD\r\n";
    // The columns in another order than the fields'.
    const std::string header = "Email,Name,CellPhone\nkim@ex.kr,김철수,010-1\n,이영희,\n";
    struct Case {
        const char* file;
        std::optional<std::string> text;  // none: no such file
        int status;
        const char* says;                // in the summary or the error line
        std::vector<std::string> names;  // of the contacts added, in order
    };
    const std::vector<Case> cases = {
        {"cards.vcf", cards, 0, "연락처 2개를 가져왔습니다", {"김철수", "이영희"}},
        {"header.csv", header, 0, "연락처 2개를 가져왔습니다", {"김철수", "이영희"}},
        {"plain.csv", "김철수,010-1\n이영희,010-2\n", 1, ": 1행에 필드 이름이 없습니다", {}},
        {"othercase.csv", "name,cellphone\n김철수,010-1\n", 1, ": 1행에 필드 이름이 없습니다", {}},
        {"empty.csv", "", 1, ": 1행에 필드 이름이 없습니다", {}},
        {"noname.csv", "CellPhone,Group\n010-1,친구\n", 1, "Name 필드에 열이 없습니다", {}},
        {"headeronly.csv", "Name,CellPhone\n", 1, "가져올 행이 없습니다", {}},
        {"empty.vcf", "", 1, "파일에 vCard가 없습니다", {}},
        {"cut.vcf",
         cards.substr(0, cards.size() - 11),
         1,
         "마지막 vCard에 END:VCARD가 없습니다",
         {}},
        {"missing.csv", std::nullopt, 1, "missing.csv을(를) 열 수 없습니다", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        FreshBook(install.databasePath);
        const std::string file = c.text ? Write(c.file, *c.text) : (env_.Root() / c.file).string();
        EXPECT_EQ(Run({"--import", file}), c.status) << err_;
        if (c.status == 0) {
            EXPECT_NE(out_.find(c.says), std::string::npos) << out_;
            EXPECT_TRUE(err_.empty()) << err_;
        } else {
            EXPECT_NE(err_.find(c.says), std::string::npos) << err_;
            EXPECT_EQ(err_.rfind("vanconv: ", 0), 0u) << err_;
            EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << "one line: " << err_;
        }
        const auto all = test::AllContacts(install.databasePath);
        ASSERT_EQ(all.size(), 1 + c.names.size());
        for (size_t i = 0; i < c.names.size(); ++i) EXPECT_EQ(all[1 + i][0], c.names[i]);
    }
    // The header's names chose the columns: field by field, not by place.
    FreshBook(install.databasePath);
    ASSERT_EQ(Run({"--import", Write("header.csv", header)}), 0);
    const auto all = test::AllContacts(install.databasePath);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1][0], "김철수");
    EXPECT_EQ(all[1][1], "그룹지정 안함");
    EXPECT_EQ(all[1][4], "010-1");
    EXPECT_EQ(all[1][14], "kim@ex.kr");
}

TEST_F(BatchTest, BeforeVanteloFirstStartsItsDefaultFolderIsUsed) {
    const std::filesystem::path dataFolder = env_.Root() / "data" / "Vantelo";
    struct Case {
        const char* what;
        bool registered;
        bool vanteloHome;  // else the default under XDG_DATA_HOME
        bool database;     // in that folder
        int status;
        std::string says;  // all of stderr
    };
    const auto notice = [](const std::filesystem::path& folder) {
        return "vanconv: Vantelo가 아직 스스로 등록하지 않았습니다(AppPaths.conf에 Path 없음); "
               "기본 폴더 " +
               folder.string() + "의 연락처를 씁니다\n";
    };
    const auto missing = [](const std::filesystem::path& folder) {
        return "vanconv: Vantelo가 설치되어 있지 않습니다: 등록(AppPaths.conf)에 Path가 없고 " +
               folder.string() + "에 VanteloDB1.db이(가) 없습니다\n";
    };
    const std::vector<Case> cases = {
        {"registered", true, true, true, 0, ""},
        {"VANTELO_HOME", false, true, true, 0, notice(env_.AppHome())},
        {"XDG_DATA_HOME", false, false, true, 0, notice(dataFolder)},
        {"no database in VANTELO_HOME", false, true, false, 1, missing(env_.AppHome())},
        {"no database under XDG_DATA_HOME", false, false, false, 1, missing(dataFolder)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(vt::AppPathsFilePath());
        std::filesystem::remove_all(env_.AppHome() / "VanteloDB1.db");
        std::filesystem::remove_all(dataFolder);
        env_.Set("VANTELO_HOME", env_.AppHome().string());
        if (c.registered)
            test::Register(env_);
        if (!c.vanteloHome)
            ::unsetenv("VANTELO_HOME");
        const std::filesystem::path folder = c.vanteloHome ? env_.AppHome() : dataFolder;
        if (c.database)
            FreshBook(folder / "VanteloDB1.db");
        const std::string file = (env_.Root() / "book.csv").string();
        EXPECT_EQ(Run({"--export", file}), c.status);
        EXPECT_EQ(err_, c.says);
        if (c.status == 0) {
            EXPECT_EQ(out_, "vanconv: 연락처 1개를 " + file + "(으)로 내보냈습니다\n");
            // The import back finds the same book, and adds to it.
            EXPECT_EQ(Run({"--import", file}), 0) << err_;
            EXPECT_EQ(test::AllContacts(folder / "VanteloDB1.db").size(), 2u);
        }
        EXPECT_EQ(std::filesystem::exists(dataFolder), !c.vanteloHome && c.database)
            << "looking for the book creates no folder";
    }
}

TEST_F(BatchTest, ClosesARunningVanteloAndStartsItAgain) {
    const VanteloInstall install = test::Register(env_);
    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start());
    const auto file = std::filesystem::path(WORKBOOK_FIXTURES) / "contacts.xls";
    ASSERT_EQ(Run({"--import", file.string(), "--map", "Name=1,HomePhone=4"}), 0) << err_;
    EXPECT_EQ(fake.Count("closed"), 1);
    EXPECT_TRUE(fake.WaitFor("started", 2));
    EXPECT_EQ(test::AllContacts(install.databasePath).size(), 4u);
}

TEST_F(BatchTest, FailuresSayWhyAndChangeNothing) {
    EXPECT_EQ(Run({"--export", (env_.Root() / "a.xlsx").string()}), 1);
    EXPECT_EQ(err_.rfind("vanconv: Vantelo가 설치되어 있지 않습니다: ", 0), 0u) << err_;

    const VanteloInstall install = test::Register(env_);
    test::AddContacts(install.databasePath, {test::SampleContact(1)});
    const auto fixture = std::filesystem::path(WORKBOOK_FIXTURES) / "contacts.xlsx";
    EXPECT_EQ(Run({"--import", fixture.string(), "--sheet", "7", "--map", "Name=1"}), 1);
    EXPECT_EQ(err_, "vanconv: " + fixture.string() + "에는 시트 7이(가) 없습니다 (시트 3개)\n");
    EXPECT_EQ(Run({"--import", fixture.string(), "--map", "Group=2", "--replace"}), 1);
    EXPECT_EQ(err_, "vanconv: Name 필드에 열이 없습니다 (--map Name=C)\n");
    EXPECT_EQ(Run({"--import", fixture.string(), "--sheet", "3", "--map", "Name=1"}), 1);
    EXPECT_NE(err_.find("가져올 행이 없습니다"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--import", (env_.Root() / "none.xlsx").string(), "--map", "Name=1"}), 1);
    EXPECT_EQ(Run({"--export", (env_.Root() / "book.txt").string()}), 1);
    EXPECT_EQ(test::AllContacts(install.databasePath),
              std::vector<ContactFields>{test::SampleContact(1)});

    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start(/*stubborn=*/true));
    EXPECT_EQ(Run({"--import", fixture.string(), "--map", "Name=1"}), 1);
    EXPECT_EQ(err_, "vanconv: Vantelo가 닫히지 않아 아무것도 가져오지 않았습니다\n");
    EXPECT_EQ(test::AllContacts(install.databasePath).size(), 1u);
}

TEST(VanconvProgramTest, ExitStatusTellsSuccessFromFailure) {
    vt::test::TestEnvironment env;
    const auto program = vt::test::BinaryFolder() / "vanconv";
    using std::chrono::seconds;
    auto r = vt::test::RunProbe(program, {"--help"}, seconds(20));
    ASSERT_FALSE(r.hung);
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    r = vt::test::RunProbe(program, {"--bogus"}, seconds(20));
    EXPECT_EQ(WEXITSTATUS(r.status), 2);
    r = vt::test::RunProbe(program, {"--export", (env.Root() / "a.xlsx").string()}, seconds(20));
    EXPECT_EQ(WEXITSTATUS(r.status), 1);  // nothing registered, no database
    test::AddContacts(env.AppHome() / "VanteloDB1.db", {test::SampleContact(1)});
    const std::string cards = (env.Root() / "a.vcf").string();
    r = vt::test::RunProbe(program, {"--export", cards}, seconds(20));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);  // the database in the default folder
    EXPECT_NE(vt::test::ReadText(cards).find("FN:홍길동1"), std::string::npos);
    test::Register(env);
    r = vt::test::RunProbe(program, {"--import", cards}, seconds(20));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);  // a vCard file needs no map
    EXPECT_EQ(test::AllContacts(env.AppHome() / "VanteloDB1.db").size(), 2u);
}

}  // namespace
}  // namespace vanconv
