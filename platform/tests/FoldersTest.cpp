#include "platform/Folders.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(vt::ApplicationFolder(), env.Root() / "data" / "Vantelo");
}

TEST(Folders, RuntimeFolderFallsBackWhenUnset) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(vt::RuntimeFolder(), env.RuntimeDir());
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::path fallback = vt::RuntimeFolder();
    EXPECT_EQ(fallback.parent_path(), fs::path("/tmp"));
    EXPECT_TRUE(fs::is_directory(fallback));
}
