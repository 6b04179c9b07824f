#include "platform/Folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "testsupport/SecondUser.h"
#include "testsupport/TestEnvironment.h"

namespace fs = std::filesystem;

TEST(Folders, ApplicationFolderPrefersVanteloHomeAndIsCreated) {
    vt::test::TestEnvironment env;
    env.Set("VANTELO_HOME", (env.Root() / "app" / "nested").string());
    fs::path folder = vt::ApplicationFolder();
    EXPECT_EQ(folder, env.Root() / "app" / "nested");
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST(Folders, ApplicationFolderFallsBackToDataHome) {
    vt::test::TestEnvironment env;
    ::unsetenv("VANTELO_HOME");
    EXPECT_EQ(vt::ApplicationFolderPath(), env.Root() / "data" / "Vantelo");
    EXPECT_FALSE(fs::exists(env.Root() / "data" / "Vantelo")) << "only the path was asked for";
    EXPECT_EQ(vt::ApplicationFolder(), env.Root() / "data" / "Vantelo");
    EXPECT_TRUE(fs::is_directory(env.Root() / "data" / "Vantelo"));
}

TEST(Folders, RuntimeFolderFallsBackWhenUnset) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(vt::RuntimeFolder(), env.RuntimeDir());
    ::unsetenv("XDG_RUNTIME_DIR");
    std::string error;
    fs::path fallback = vt::RuntimeFolder(&error);
    // Another run may have left it in another state; then the refusal says why.
    if (fallback.empty()) GTEST_SKIP() << error;
    EXPECT_EQ(fallback.parent_path(), fs::path("/tmp"));
    EXPECT_TRUE(fs::is_directory(fallback));
}

namespace {

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Sets the umask for a scope: what the programs create must not depend on it.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

// The fallback runtime folder of `uid`, as RuntimeFolder() names it.
fs::path FallbackOf(uid_t uid) { return fs::path("/tmp") / ("vantelo-" + std::to_string(uid)); }

// What RuntimeFolder() gives a process of the second user without
// XDG_RUNTIME_DIR: 0 the fallback, 1 refused with a message naming it,
// 2 anything else.
int FallbackVerdict(const vt::test::SecondUser& user) {
    return user.RunAs([&] {
        ::unsetenv("XDG_RUNTIME_DIR");
        std::string error;
        const fs::path folder = vt::RuntimeFolder(&error);
        if (folder == FallbackOf(::getuid()) && error.empty()) return 0;
        if (folder.empty() && error.find(FallbackOf(::getuid()).string()) != std::string::npos)
            return 1;
        return 2;
    });
}

}  // namespace

TEST(Folders, RuntimeFallbackIsUsedOnlyWhenItIsPrivateToTheUser) {
    vt::test::SecondUser user;
    if (!user.Available()) GTEST_SKIP() << user.SkipReason();
    const fs::path fallback = FallbackOf(user.Uid());
    std::error_code ec;
    fs::remove_all(fallback, ec);

    // Missing: made 0700 for the user, whatever the umask.
    {
        ScopedUmask open(0);
        EXPECT_EQ(FallbackVerdict(user), 0);
    }
    struct stat st {};
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, user.Uid());
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The user's own folder opened to others: refused.
    ::chmod(fallback.c_str(), 0777);
    EXPECT_EQ(FallbackVerdict(user), 1);
    fs::remove_all(fallback, ec);

    // Made first by someone else (here root), even with the right mode.
    ASSERT_TRUE(fs::create_directory(fallback));
    ::chmod(fallback.c_str(), 0700);
    EXPECT_EQ(FallbackVerdict(user), 1);
    fs::remove_all(fallback, ec);

    // A symlink to a folder of the user's: refused, not followed.
    const fs::path target = fs::path("/tmp") / ("vantelo-target-" + std::to_string(::getpid()));
    ASSERT_TRUE(fs::create_directory(target));
    ::chown(target.c_str(), user.Uid(), user.Gid());
    ::chmod(target.c_str(), 0700);
    fs::create_directory_symlink(target, fallback);
    EXPECT_EQ(FallbackVerdict(user), 1);
    fs::remove(fallback, ec);
    fs::remove_all(target, ec);
}

TEST(Folders, CreatedFoldersAndFilesArePrivateWhateverTheUmask) {
    vt::test::TestEnvironment env;
    ScopedUmask open(0);
    env.Set("VANTELO_HOME", (env.Root() / "fresh" / "Vantelo").string());
    const fs::path app = vt::ApplicationFolder();
    EXPECT_EQ(ModeOf(app), 0700u);
    ASSERT_TRUE(vt::EnsureFolder(app / "Log"));
    EXPECT_EQ(ModeOf(app / "Log"), 0700u);

    std::FILE* made = vt::OpenPrivateFile(app / "made.txt", "a+");
    ASSERT_NE(made, nullptr);
    std::fclose(made);
    EXPECT_EQ(ModeOf(app / "made.txt"), 0600u);
    // A symlink in a file's place is not written through.
    fs::create_symlink(app / "made.txt", app / "link.txt");
    EXPECT_EQ(vt::OpenPrivateFile(app / "link.txt", "w"), nullptr);
}
