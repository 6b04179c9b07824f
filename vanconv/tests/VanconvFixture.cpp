#include "VanconvFixture.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Folders.h"
#include "platform/IniStore.h"
#include "platform/SingleInstanceLock.h"
#include "vanconv/ContactTransfer.h"

extern char** environ;

namespace vanconv::test {

VanteloInstall Register(const vt::test::TestEnvironment& env, std::filesystem::path exe) {
    if (exe.empty())
        exe = FakeVanteloPath();
    vt::IniStore store(vt::AppPathsFilePath());
    store.SetString("Vantelo.Exe", "Path", env.AppHome().string());
    store.SetString("Vantelo.Exe", "Exe", exe.string());
    EXPECT_TRUE(store.Save());
    auto install = FindVanteloInstall();
    EXPECT_TRUE(install.has_value());
    return install.value_or(VanteloInstall{});
}

std::filesystem::path FakeVanteloPath() {
    return vt::test::BinaryFolder() / "vanconv_fake_vantelo";
}

void AddContacts(const std::filesystem::path& database, const std::vector<ContactFields>& rows) {
    workbook::Sheet sheet;
    for (size_t r = 0; r < rows.size(); ++r)
        for (int f = 0; f < kFieldCount; ++f) sheet.SetText(int(r) + 1, f + 1, rows[r][f]);
    ImportPlan plan;
    plan.sheet = &sheet;
    plan.startRow = 1;
    plan.endRow = static_cast<long long>(rows.size());
    for (int f = 0; f < kFieldCount; ++f) plan.columns[f] = f + 1;
    const auto outcome = ContactTransfer::UpdateTYcallerDB(database, plan);
    ASSERT_EQ(outcome.kind, ImportOutcome::Kind::Done) << outcome.error;
}

std::vector<ContactFields> AllContacts(const std::filesystem::path& database) {
    std::vector<ContactFields> out;
    auto rows = ContactTransfer::SaveTYcallerAddress(database);
    EXPECT_TRUE(rows.ok()) << rows.status().message();
    if (!rows.ok())
        return out;
    for (size_t r = 1; r < rows.value().size(); ++r) {
        ContactFields c;
        for (int f = 0; f < kFieldCount; ++f) c[f] = rows.value()[r][f];
        out.push_back(c);
    }
    return out;
}

void RefuseName(const std::filesystem::path& database, const std::string& name) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    char* sql = sqlite3_mprintf(
        "CREATE TRIGGER refuse BEFORE INSERT ON AddressList WHEN NEW.Name = %Q "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END;",
        name.c_str());
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_free(sql);
    sqlite3_close(db);
}

ContactFields SampleContact(int n) {
    const std::string k = std::to_string(n);
    return {"홍길동" + k,
            "친구, 가족",
            "02" + k + "-1234",
            "서울시 중구; 1번지",
            "010" + k,
            "(주)반텔로",
            "개발부",
            "과장 \"대리\"",
            "회사\n주소" + k,
            "별관 " + k,
            "031" + k,
            "",
            "12" + k,
            "0212345678",
            "kim" + k + "@ex.kr",
            "https://ex.kr/" + k};
}

FakeVantelo::~FakeVantelo() {
    // Every instance, also those the converter started, by the pids logged.
    std::ifstream log(vt::ApplicationFolder() / "fake-vantelo.log");
    std::string line;
    while (std::getline(log, line)) {
        const pid_t pid = std::atoi(line.c_str());
        if (pid > 0 && line.find(" started") != std::string::npos)
            ::kill(pid, SIGKILL);
    }
    for (pid_t child : children_) ::waitpid(child, nullptr, 0);
}

bool FakeVantelo::Start(bool stubborn) {
    const std::string path = FakeVanteloPath().string();
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    std::string flag = "--stubborn";
    if (stubborn)
        argv.push_back(flag.data());
    argv.push_back(nullptr);
    const int before = Count("started");
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    children_.push_back(pid);
    return WaitFor("started", before + 1) && LockHeld();
}

bool FakeVantelo::LockHeld() {
    vt::SingleInstanceLock probe("Korvane_TYC_Plus");
    return !probe.Acquire();
}

std::vector<std::string> FakeVantelo::Log() const {
    std::vector<std::string> lines;
    std::ifstream log(vt::ApplicationFolder() / "fake-vantelo.log");
    std::string line;
    while (std::getline(log, line)) {
        const size_t space = line.find(' ');
        lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
    }
    return lines;
}

int FakeVantelo::Count(const std::string& line) const {
    int n = 0;
    for (const auto& l : Log()) n += l == line;
    return n;
}

bool FakeVantelo::WaitFor(const std::string& line, int times) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Count(line) < times) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace vanconv::test
