#include <gtest/gtest.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "vanplay/PlayerPaths.h"

using namespace vanplay;
namespace fs = std::filesystem;

namespace {

TEST(PlayerPaths, KindIsDecidedByTheLastThreeCharacters) {
    EXPECT_TRUE(IsCompressed("/a/call.vrc"));
    EXPECT_TRUE(IsCompressed("/a/CALL.VRC")) << "capitals count as compressed";
    EXPECT_FALSE(IsCompressed("/a/call.wav"));
    EXPECT_FALSE(IsCompressed("rc"));
}

TEST(PlayerPaths, NamesAreFormedBesideTheFile) {
    EXPECT_EQ(FileNamePart("/rec/2024/my call.vrc"), "my call.vrc");
    EXPECT_EQ(FileNamePart("plain"), "plain");
    EXPECT_EQ(WithExtension("/r/call.vrc", "wav"), "/r/call.wav");
    EXPECT_EQ(Mp3PathFor("/r/call.vrc"), "/r/call.mp3");
    EXPECT_EQ(Mp3PathFor("/r/call.wav"), "/r/call.mp3");
    EXPECT_EQ(Mp3PathFor("/r.d/recording"), "/r.d/recording.mp3") << "no extension: appended";
}

TEST(PlayerPaths, DecodedFileIsBesideWhenTheNameIsFree) {
    vt::test::TestEnvironment env;
    const auto vrc = env.Root() / "call.vrc";
    auto claimed = ClaimDecodedFile(vrc.string());
    ASSERT_TRUE(claimed);
    EXPECT_EQ(*claimed, env.Root() / "call.wav");
    EXPECT_TRUE(fs::exists(*claimed)) << "claimed by creating it";
}

TEST(PlayerPaths, AnExistingWavIsNeverTakenOver) {
    vt::test::TestEnvironment env;
    env.Set("TMPDIR", env.Root().string());
    std::ofstream(env.Root() / "call.wav") << "the user's own file";
    auto claimed = ClaimDecodedFile((env.Root() / "call.vrc").string());
    ASSERT_TRUE(claimed);
    EXPECT_NE(*claimed, env.Root() / "call.wav");
    EXPECT_EQ(claimed->filename().string().rfind("vanplay-call.vrc-", 0), 0u);
    EXPECT_EQ(fs::file_size(env.Root() / "call.wav"), 19u);
    fs::remove(*claimed);
}

}  // namespace
