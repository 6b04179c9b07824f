// The command line: parsing, the transfers it runs and their summary
// lines, and the exit status of the program itself.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "VanconvFixture.h"
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
}

TEST(CommandLineTest, RefusesWhatItCannotRunWithAReason) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--import", "a.xlsx"},
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
    vt::test::TestEnvironment env_;
    std::string out_, err_;
};

TEST_F(BatchTest, ExportAndImportWithSummaryLines) {
    const VanteloInstall install = test::Register(env_);
    test::AddContacts(install.databasePath, {test::SampleContact(1), test::SampleContact(2)});
    const std::string file = (env_.Root() / "book.xlsx").string();
    ASSERT_EQ(Run({"--export", file}), 0) << err_;
    EXPECT_EQ(out_, "vanconv: 2 contacts exported to " + file + "\n");

    ASSERT_EQ(Run({"--import", file, "--map", "auto", "--replace"}), 0) << err_;
    EXPECT_EQ(out_, "vanconv: 2 contacts imported from " + file +
                        " (sheet 1, rows 2-3), the contact book was replaced\n");
    ASSERT_EQ(Run({"--import", file, "--rows", "3-3", "--map", "Name=1,CellPhone=5"}), 0);
    const auto all = test::AllContacts(install.databasePath);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2][0], test::SampleContact(2)[0]);
    EXPECT_EQ(all[2][1], "그룹지정 안함");
    EXPECT_EQ(all[2][4], test::SampleContact(2)[4]);
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
    EXPECT_NE(err_.find("not installed"), std::string::npos) << err_;

    const VanteloInstall install = test::Register(env_);
    test::AddContacts(install.databasePath, {test::SampleContact(1)});
    const auto fixture = std::filesystem::path(WORKBOOK_FIXTURES) / "contacts.xlsx";
    EXPECT_EQ(Run({"--import", fixture.string(), "--sheet", "7", "--map", "Name=1"}), 1);
    EXPECT_NE(err_.find("has no sheet 7 (it has 3)"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--import", fixture.string(), "--map", "Group=2", "--replace"}), 1);
    EXPECT_NE(err_.find("Name field has no column"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--import", fixture.string(), "--sheet", "3", "--map", "Name=1"}), 1);
    EXPECT_NE(err_.find("no rows to import"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--import", (env_.Root() / "none.xlsx").string(), "--map", "Name=1"}), 1);
    EXPECT_EQ(Run({"--export", (env_.Root() / "book.txt").string()}), 1);
    EXPECT_EQ(test::AllContacts(install.databasePath),
              std::vector<ContactFields>{test::SampleContact(1)});

    test::FakeVantelo fake(env_);
    ASSERT_TRUE(fake.Start(/*stubborn=*/true));
    EXPECT_EQ(Run({"--import", fixture.string(), "--map", "Name=1"}), 1);
    EXPECT_NE(err_.find("did not close"), std::string::npos) << err_;
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
    EXPECT_EQ(WEXITSTATUS(r.status), 1);  // nothing registered
    test::Register(env);
    test::AddContacts(env.AppHome() / "VanteloDB1.db", {test::SampleContact(1)});
    r = vt::test::RunProbe(program, {"--export", (env.Root() / "a.vcf").string()}, seconds(20));
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_NE(vt::test::ReadText(env.Root() / "a.vcf").find("FN:홍길동1"), std::string::npos);
}

}  // namespace
}  // namespace vanconv
