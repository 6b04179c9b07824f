#include "platform/IniStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"

namespace fs = std::filesystem;
using vt::IniStore;

TEST(IniStore, RoundTripKeepsTextsAndNumbers) {
    vt::test::TestEnvironment env;
    fs::path file = env.Root() / "Korvane" / "Vantelo.conf";
    {
        IniStore store(file);
        ASSERT_TRUE(store.Load()) << "a missing file is an empty store";
        store.SetString("VanteloSetting", "StrGreeting", "안녕하세요 = hello\\world\nline two");
        store.SetInt("VanteloSetting", "IntRingCount", -42);
        store.SetString("Other", "Key", " padded ");
        ASSERT_TRUE(store.Save());
    }
    IniStore again(file);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetString("VanteloSetting", "StrGreeting"),
              "안녕하세요 = hello\\world\nline two");
    EXPECT_EQ(again.GetInt("VanteloSetting", "IntRingCount"), -42);
    EXPECT_EQ(again.GetString("Other", "Key"), " padded ");
    EXPECT_FALSE(again.Has("VanteloSetting", "Missing"));
    EXPECT_EQ(again.GetInt("VanteloSetting", "Missing", 7), 7);
}

TEST(IniStore, NonNumericValueGivesTheFallback) {
    vt::test::TestEnvironment env;
    fs::path file = env.Root() / "x.conf";
    std::ofstream(file) << "[S]\nIntA=12abc\nIntB= 15 \nIntC=\n";
    IniStore store(file);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.GetInt("S", "IntA", -1), -1);
    EXPECT_EQ(store.GetInt("S", "IntB", -1), 15);
    EXPECT_EQ(store.GetInt("S", "IntC", -1), -1);
}

TEST(IniStore, FailedSaveLeavesTheOldFileAndNoTemporary) {
    vt::test::TestEnvironment env;
    fs::path folder = env.Root() / "ro";
    fs::create_directories(folder);
    fs::path file = folder / "Vantelo.conf";
    IniStore store(file);
    store.SetInt("S", "IntA", 1);
    ASSERT_TRUE(store.Save());
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(folder.c_str(), 0500);
    store.SetInt("S", "IntA", 2);
    EXPECT_FALSE(store.Save());
    ::chmod(folder.c_str(), 0700);
    IniStore reread(file);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetInt("S", "IntA"), 1);
}

TEST(IniStore, SaveReplacesTheFileWhole) {
    vt::test::TestEnvironment env;
    fs::path file = env.Root() / "a.conf";
    IniStore store(file);
    store.SetString("S", "StrA", "x");
    store.SetString("S", "StrB", "y");
    ASSERT_TRUE(store.Save());
    store.Remove("S", "StrB");
    ASSERT_TRUE(store.Save());
    IniStore reread(file);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.Keys("S"), std::vector<std::string>{"StrA"});
    for (const auto& e : fs::directory_iterator(env.Root()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos);
}

TEST(IniStore, SettingsPathsFollowTheConfigHome) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(vt::SettingsFilePath(), env.ConfigHome() / "Korvane" / "Vantelo.conf");
    EXPECT_EQ(vt::AppPathsFilePath(), env.ConfigHome() / "Korvane" / "AppPaths.conf");
}

TEST(IniStore, SaveOverSomethingThatIsNotAFileFailsCleanly) {
    vt::test::TestEnvironment env;
    fs::path file = env.Root() / "blocked.conf";
    fs::create_directories(file / "inside");  // a folder stands where the file should go
    IniStore store(file);
    store.SetInt("S", "IntA", 1);
    EXPECT_FALSE(store.Save());
    EXPECT_TRUE(fs::is_directory(file / "inside"));
    for (const auto& e : fs::directory_iterator(env.Root()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos);
}

TEST(IniStore, SettingsFolderAndFileArePrivateWhateverTheUmask) {
    vt::test::TestEnvironment env;
    const mode_t old = ::umask(0);
    fs::path file = env.ConfigHome() / "Korvane" / "Vantelo.conf";
    IniStore store(file);
    store.SetString("VanteloSetting", "StrName", "private");
    const bool saved = store.Save();
    ::umask(old);
    ASSERT_TRUE(saved);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(file.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}
