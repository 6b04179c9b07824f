// Prompts out of the box, and a user's own files left alone.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "vantelo/app/PromptInstaller.h"
#include "vantelo/core/AnsweringMachine.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;

TEST(PromptInstaller, MissingPromptsAreCopiedAndTheUsersAreKept) {
    vt::test::TestEnvironment env;
    const fs::path shipped = env.Root() / "shipped";
    fs::create_directories(shipped);
    for (const char* name :
         {kPrompt1File, kPrompt2File, kPrompt8File, kPrompt9File, kDefaultGreetingFile})
        std::ofstream(shipped / name) << "shipped";
    const fs::path target = env.AppHome() / kPromptFolderName;
    fs::create_directories(target);
    std::ofstream(target / kPrompt1File) << "mine";

    EXPECT_EQ(PromptInstaller::Install(env.AppHome(), shipped), "");
    EXPECT_EQ(vt::test::ReadText(target / kPrompt1File), "mine");
    EXPECT_EQ(vt::test::ReadText(target / kPrompt9File), "shipped");
    EXPECT_EQ(vt::test::ReadText(target / kDefaultGreetingFile), "shipped");
    struct stat st {};
    ASSERT_EQ(::stat((target / kPrompt2File).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    std::ofstream(shipped / kPrompt9File) << "newer";
    EXPECT_EQ(PromptInstaller::Install(env.AppHome(), shipped), "");
    EXPECT_EQ(vt::test::ReadText(target / kPrompt9File), "shipped") << "never overwritten";
}

TEST(PromptInstaller, ShippedPromptsAreMuLawWavesTheLinePlays) {
    const fs::path shipped = PromptInstaller::ShippedFolder();
    if (!fs::is_directory(shipped))
        GTEST_SKIP() << "built without espeak-ng";
    for (const char* name :
         {kPrompt1File, kPrompt2File, kPrompt8File, kPrompt9File, kDefaultGreetingFile}) {
        auto info = vt::test::ReadWavInfo(shipped / name);
        ASSERT_TRUE(info) << name;
        EXPECT_EQ(info->format, 7u) << name;
        EXPECT_EQ(info->sampleRate, 8000u);
        EXPECT_EQ(info->bitsPerSample, 8u);
        EXPECT_EQ(info->dataBytes + 44u, info->fileBytes);
        EXPECT_GT(vt::test::DurationMs(*info), 1000.0) << name << " says something";
    }
}

}  // namespace
}  // namespace vantelo
