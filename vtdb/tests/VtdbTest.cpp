// vtdb run as a program on a private application folder.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "testsupport/TestEnvironment.h"

namespace {

namespace fs = std::filesystem;

struct Output {
    int code = -1;
    std::string out;
};

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Output Vtdb(const std::vector<std::string>& args, bool withErrors = false) {
    std::string cmd = Quote((vt::test::BinaryFolder() / "vtdb").string());
    for (const auto& a : args) cmd += " " + Quote(a);
    cmd += withErrors ? " 2>&1" : " 2>/dev/null";
    Output o;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return o;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) o.out.append(buf, n);
    int status = ::pclose(p);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

class VtdbTest : public ::testing::Test {
protected:
    fs::path WriteTsv(const std::string& text) {
        fs::path file = env_.Root() / "calls.tsv";
        std::ofstream(file) << text;
        return file;
    }
    vt::test::TestEnvironment env_;
};

const char* kCalls =
    "CallMode\tCallName\tCallNum\tCallCompressMode\tCallDate\tCallTime\tCallRecDirectory\t"
    "CallRecFileName\tCallRec\tCallDtmf\tCallbInner\tCallMemo\n"
    "0\tKim\t0212345678\t3\t2007-03-12 10:00:00\t65\t\t\t0\t12#\t0\tline\\tone\n"
    "2\tLee\t0311112222\t3\t2007-03-11 09:00:00\t0\t\t\t0\t\t0\t\n"
    "1\tO'Brien\t0422\t0\t2007-03-12 08:00:00\t5\t/r/\t080000.wav\t1\t\t1\t\n";

TEST_F(VtdbTest, ImportedCallsAreListedInRecordSetOrder) {
    Output imp = Vtdb({"import-calls", WriteTsv(kCalls).string()});
    ASSERT_EQ(imp.code, 0);
    EXPECT_EQ(imp.out, "3\n");
    EXPECT_TRUE(fs::exists(env_.AppHome() / "VanteloDB1.db"));
    Output all = Vtdb({"calls"});
    ASSERT_EQ(all.code, 0);
    EXPECT_EQ(all.out,
              "0\tKim\t0212345678\t3\t2007-03-12 10:00:00\t65\t\t\t0\t12#\t0\tline\\tone\n"
              "2\tLee\t0311112222\t3\t2007-03-11 09:00:00\t0\t\t\t0\t\t0\t\n"
              "1\tO'Brien\t0422\t0\t2007-03-12 08:00:00\t5\t/r/\t080000.wav\t1\t\t1\t\n");
    Output missed = Vtdb({"calls", "--kind", "4"});
    EXPECT_EQ(missed.out.substr(0, 5), "2\tLee");
    Output day = Vtdb({"calls", "--search", "3", "070312"});
    EXPECT_EQ(day.out.find("Lee"), std::string::npos);
    EXPECT_LT(day.out.find("Kim"), day.out.find("O'Brien"));
    Output byName = Vtdb({"calls", "--search", "0", ""});
    EXPECT_LT(byName.out.find("Lee"), byName.out.find("O'Brien"));
    EXPECT_LT(byName.out.find("O'Brien"), byName.out.find("Kim"));
    EXPECT_NE(Vtdb({"calls", "--search", "1", "O'Brien"}).out.find("0422"), std::string::npos);
}

TEST_F(VtdbTest, BadImportStoresNothingAndSaysWhere) {
    std::string bad = std::string(kCalls) + "9\tX\t1\t300\t2007-03-12 10:00:00\t1\t\t\t0\t\t0\t\n";
    Output imp = Vtdb({"import-calls", WriteTsv(bad).string()}, true);
    EXPECT_NE(imp.code, 0);
    EXPECT_NE(imp.out.find("calls.tsv:5"), std::string::npos) << imp.out;
    EXPECT_EQ(Vtdb({"calls"}).out, "");
    EXPECT_NE(Vtdb({"import-calls", "/no/such.tsv"}).code, 0);
}

TEST_F(VtdbTest, ContactsAddListAndLookUp) {
    Output add = Vtdb({"add-contact", "Name=김철수", "Group=가족", "HomePhone=95551234"});
    ASSERT_EQ(add.code, 0);
    EXPECT_EQ(add.out, "1\n");
    ASSERT_EQ(
        Vtdb({"add-contact", "--inner", "Name=Desk", "Group=회사", "CompanyInnerLine=204"}).code,
        0);
    Output list = Vtdb({"contacts", "--index", "1"});
    ASSERT_EQ(list.code, 0);
    EXPECT_EQ(list.out.substr(0, 2 + std::string("김철수").size()), "1\t김철수");
    EXPECT_EQ(Vtdb({"contacts", "--index", "2"}).out, "");
    EXPECT_NE(Vtdb({"contacts", "--inner", "--search", "3", "20"}).out.find("Desk"),
              std::string::npos);
    EXPECT_EQ(Vtdb({"lookup", "5551234", "--ext", "9"}).out, "김철수\n");
    EXPECT_EQ(Vtdb({"lookup", "5551234", "--ext", ""}).out, "\n");
    EXPECT_EQ(Vtdb({"lookup", "204"}).out, "Desk\n");
}

TEST_F(VtdbTest, LookupTakesTheOutsideLineCodeFromTheSettings) {
    fs::create_directories(env_.ConfigHome() / "Korvane");
    std::ofstream(env_.ConfigHome() / "Korvane" / "Vantelo.conf") << "[VanteloSetting]\nStrExt=9\n";
    ASSERT_EQ(Vtdb({"add-contact", "Name=Out", "Group=x", "CellPhone=95551234"}).code, 0);
    EXPECT_EQ(Vtdb({"lookup", "5551234"}).out, "Out\n");
}

TEST_F(VtdbTest, MistakesGiveOneLineErrorsAndFailure) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"nonsense"},
                                                 {"calls", "--kind"},
                                                 {"calls", "--kind", "x"},
                                                 {"calls", "--search", "3", "0703"},
                                                 {"contacts", "--index"},
                                                 {"lookup"},
                                                 {"add-contact", "Nope=1"},
                                                 {"add-contact", "Name"},
                                                 {"calls", "extra"}}) {
        Output o = Vtdb(args, true);
        EXPECT_NE(o.code, 0) << (args.empty() ? "" : args[0]);
        EXPECT_NE(o.out.find("vtdb"), std::string::npos);
    }
}

TEST_F(VtdbTest, FileThatIsNoDatabaseIsKeptAndEveryCommandFails) {
    const fs::path file = env_.AppHome() / "VanteloDB1.db";
    std::ofstream(file) << "garbage";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"calls"},
                                                 {"lookup", "0212345678"},
                                                 {"add-contact", "Name=x"},
                                                 {"block", "add", "0212345678"},
                                                 {"block", "list"},
                                                 {"block", "remove", "0212345678"}}) {
        Output o = Vtdb(args, true);
        EXPECT_NE(o.code, 0) << args[0];
        EXPECT_EQ(o.out.rfind("vtdb: 손상된 데이터베이스: " + file.string() +
                                  "은(는) 바꾸지 않고 두었습니다: ",
                              0),
                  0u)
            << o.out;
        EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1) << o.out;
    }
    EXPECT_EQ(vt::test::ReadText(file), "garbage");
}

}  // namespace

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(VtdbTest, BackupWritesLogoAndRecordingsAndKeepsTheLog) {
    const fs::path rec = env_.Root() / "rec";
    fs::create_directories(rec);
    std::ofstream(rec / "080000.wav") << "RIFFdata";
    const std::string tsv =
        "CallMode\tCallName\tCallNum\tCallCompressMode\tCallDate\tCallTime\tCallRecDirectory\t"
        "CallRecFileName\tCallRec\tCallDtmf\tCallbInner\tCallMemo\n"
        "0\tKim\t0212345678\t3\t2007-03-12 10:00:00\t65\t\t\t0\t12#\t0\tmemo\n"
        "1\tLee\t0422\t0\t2007-03-12 08:00:00\t5\t" +
        rec.string() + "/\t080000.wav\t1\t\t1\t\n";
    ASSERT_EQ(Vtdb({"import-calls", WriteTsv(tsv).string()}).code, 0);
    const fs::path dest = env_.Root() / "nightly";
    Output b = Vtdb({"backup", dest.string()}, true);
    ASSERT_EQ(b.code, 0) << b.out;
    EXPECT_EQ(b.out, "통화 2건을 " + (dest / "Logo.txt").string() + "에 백업했습니다\n");
    EXPECT_EQ(ReadFile(dest / "Logo.txt"),
              "1 : 발신\r\n통화 시각 : 2007-03-12 10:00:00\r\n통화 시간 : 01:05\r\n이름 : Kim\r\n"
              "전화번호 : 0212345678\r\n녹음파일 : \r\n통화 메모 : memo\r\n\r\n"
              "2 : 수신\r\n통화 시각 : 2007-03-12 08:00:00\r\n통화 시간 : 00:05\r\n이름 : Lee\r\n"
              "전화번호 : 0422\r\n녹음파일 :   /2007-03-12/080000.wav\r\n통화 메모 : \r\n\r\n");
    EXPECT_EQ(ReadFile(dest / "2007-03-12" / "080000.wav"), "RIFFdata");
    // In English the report is English; the backup file stays Korean, as
    // other tools read it.
    env_.SetLocale("en_US.UTF-8");
    const fs::path english = env_.Root() / "english";
    Output e = Vtdb({"backup", english.string()}, true);
    EXPECT_EQ(e.out, "2 calls backed up to " + (english / "Logo.txt").string() + "\n");
    EXPECT_EQ(ReadFile(english / "Logo.txt"), ReadFile(dest / "Logo.txt"));
    env_.SetLocale("C.UTF-8");
    EXPECT_EQ(Vtdb({"calls"}).out.size() > 0, true);
    EXPECT_TRUE(fs::exists(rec / "080000.wav"));

    // A second run never overwrites; a missing recording fails with one line.
    fs::remove(rec / "080000.wav");
    Output again = Vtdb({"backup", dest.string()}, true);
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(std::count(again.out.begin(), again.out.end(), '\n'), 1);
    EXPECT_NE(again.out.find("080000.wav"), std::string::npos);
    EXPECT_TRUE(fs::exists(dest / "Logo-2.txt"));
    EXPECT_EQ(ReadFile(dest / "Logo.txt").substr(0, 4), "1 : ");

    std::ofstream(env_.Root() / "plain") << "x";
    EXPECT_EQ(Vtdb({"backup", (env_.Root() / "plain").string()}).code, 1);
    EXPECT_NE(Vtdb({"backup"}).code, 0);
}

}  // namespace

// The command line's mistakes in the user's language: Korean by default,
// English under an English locale or the Language setting "en".
TEST_F(VtdbTest, MistakesAreToldInTheUsersLanguage) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string korean;  // the first line of the output
        std::string english;
    };
    const std::vector<Case> cases = {
        {{"nonsense"}, 2, "vtdb: 알 수 없는 명령 'nonsense'", "vtdb: unknown command 'nonsense'"},
        {{"calls", "--kind"},
         1,
         "vtdb: --kind에는 값이 1개 필요합니다",
         "vtdb: --kind needs 1 value(s)"},
        {{"calls", "--kind", "x"},
         1,
         "vtdb: --kind에는 탭 번호 0..6이 필요합니다",
         "vtdb: --kind needs a tab number 0..6"},
        {{"contacts", "--search", "x", "y"},
         1,
         "vtdb: --search에는 종류 번호가 필요합니다",
         "vtdb: --search needs a kind number"},
        {{"lookup"}, 1, "vtdb: lookup에는 번호 하나가 필요합니다", "vtdb: lookup needs one NUMBER"},
        {{"add-contact", "Nope=1"},
         1,
         "vtdb: 'Nope=1'은(는) 연락처 필드의 필드=값이 아닙니다",
         "vtdb: 'Nope=1' is not FIELD=VALUE with a contact field"},
        // An argument that looks like a placeholder stays as it was typed.
        {{"calls", "%2x"}, 1, "vtdb: 예상하지 못한 인수 '%2x'", "vtdb: unexpected argument '%2x'"},
        {{"recover"},
         1,
         "vtdb: recover에는 새 파일 이름 하나가 필요합니다",
         "vtdb: recover needs one DEST file name"},
        {{"block"},
         2,
         "vtdb: block에는 add, list 또는 remove가 필요합니다",
         "vtdb: block needs add, list or remove"},
        {{"block", "add", "1", "--permit", "--action", "hangup"},
         1,
         "vtdb: --action은 --permit과 함께 쓸 수 없습니다: 허용 규칙은 전화를 받아들입니다",
         "vtdb: --action cannot go with --permit: a permit rule lets the call through"},
        {{"--help"},
         0,
         "사용법: vtdb calls [--kind 탭] [--search 종류 글자]",
         "usage: vtdb calls [--kind TAB] [--search KIND TEXT]"},
    };
    struct World {
        const char* lang;
        const char* setting;  // nullptr: no Language key
        bool english;
    };
    const World worlds[] = {{"ko_KR.UTF-8", nullptr, false},
                            {"en_US.UTF-8", nullptr, true},
                            {"C.UTF-8", nullptr, false},
                            {"en_US.UTF-8", "ko", false},
                            {"ko_KR.UTF-8", "en", true}};
    const fs::path conf = env_.ConfigHome() / "Korvane" / "Vantelo.conf";
    fs::create_directories(conf.parent_path());
    for (const World& w : worlds) {
        env_.SetLocale(w.lang);
        std::ofstream(conf) << "[VanteloSetting]\n"
                            << (w.setting ? std::string("Language=") + w.setting + "\n" : "");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(w.lang) + " " + (w.setting ? w.setting : "-") + " " +
                         c.args[0]);
            const Output o = Vtdb(c.args, true);
            EXPECT_EQ(o.code, c.code);
            EXPECT_EQ(o.out.substr(0, o.out.find('\n')), w.english ? c.english : c.korean);
        }
    }
}
