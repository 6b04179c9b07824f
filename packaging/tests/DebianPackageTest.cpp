// The Debian package as a user gets it: built from this build folder with
// `cpack -G DEB`, checked by lintian and appstreamcli, unpacked with
// `dpkg-deb -x` into a private root and run from there (the headless phone
// on a simulated adapter of the same package, the codec loaded by name, the
// MP3 export), then removed. Nothing runs from or writes to the build
// folder's binaries: the programs find their libraries, codec and prompts
// through the installed layout alone.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The programs' private library folder under /usr.
#define kLibDir "usr/" VANTELO_INSTALL_LIBDIR
constexpr int kSkipped = 77;
constexpr const char* kMetainfo = "usr/share/metainfo/com.korvane.vantelo.metainfo.xml";

// A program on PATH; empty when there is none.
fs::path OnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && ::access((fs::path(folder) / name).c_str(), X_OK) == 0)
            return fs::path(folder) / name;
    return {};
}

struct ToolRun {
    int exit = -1;  // -1: did not start, hung or died of a signal
    std::string output;
};

// Runs a program to its end (killed at the deadline); standard output and
// error together.
ToolRun RunTool(const fs::path& program, const std::vector<std::string>& args,
                const fs::path& scratch, std::chrono::seconds deadline = 60s) {
    const fs::path log = scratch / "tool.log";
    const auto done = vt::test::WaitProbe(vt::test::StartProbe(program, args, log), deadline);
    ToolRun run;
    run.output = vt::test::ReadText(log);
    fs::remove(log);
    if (!done.hung && done.spawnError == 0 && WIFEXITED(done.status))
        run.exit = WEXITSTATUS(done.status);
    if (done.hung)
        run.output += "\n(killed at the deadline)";
    return run;
}

// Every file under `root` with its size: what the program tree holds.
std::map<std::string, std::uintmax_t> Listing(const fs::path& root) {
    std::map<std::string, std::uintmax_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto relative = fs::relative(entry.path(), root).string();
        files[relative] = entry.is_regular_file() && !entry.is_symlink() ? entry.file_size() : 0;
    }
    return files;
}

// The sockets under `folder`, relative to it.
std::vector<std::string> SocketsUnder(const fs::path& folder) {
    std::vector<std::string> sockets;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
        if (entry.is_socket())
            sockets.push_back(fs::relative(entry.path(), folder).string());
    return sockets;
}

// Waits until `path` exists.
bool WaitForPath(const fs::path& path, std::chrono::seconds timeout = 20s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Processes whose program lies under `root`.
std::vector<std::string> ProcessesFrom(const fs::path& root) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const auto exe = fs::read_symlink(entry.path() / "exe", ec);
        if (!ec && exe.string().rfind(root.string(), 0) == 0)
            found.push_back(entry.path().filename().string() + " " + exe.string());
    }
    return found;
}

// A program of the unpacked package running in the background, its output
// in a file; SIGTERM at Stop, SIGKILL if it has not ended by then.
class Background {
public:
    Background(const fs::path& program, const std::vector<std::string>& args, fs::path log)
        : log_(std::move(log)), probe_(vt::test::StartProbe(program, args, log_)) {}
    ~Background() { Stop(); }

    bool Started() const { return probe_.pid > 0; }
    std::string Output() const { return vt::test::ReadText(log_); }

    // Waits until `line` is a whole line of the output.
    bool WaitForLine(const std::string& line, std::chrono::seconds timeout = 20s) const {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            const std::string text = "\n" + Output();
            if (text.find("\n" + line + "\n") != std::string::npos)
                return true;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }

    // SIGTERM; the exit code, -1 when it hung (then killed) or died of a signal.
    int Stop() {
        if (probe_.pid <= 0)
            return exit_;
        ::kill(probe_.pid, SIGTERM);
        const auto done = vt::test::WaitProbe(probe_, 15s);
        probe_.pid = 0;
        exit_ = !done.hung && WIFEXITED(done.status) ? WEXITSTATUS(done.status) : -1;
        return exit_;
    }

private:
    fs::path log_;
    vt::test::Probe probe_;
    int exit_ = -1;
};

// The package is built once for all cases, in a private folder.
class DebianPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Without Debian's tools nothing here can be checked: one line, and
        // the exit status ctest counts as skipped (SKIP_RETURN_CODE).
        for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps", "lintian", "appstreamcli"})
            if (OnPath(tool).empty()) {
                std::printf("%s is not installed: the Debian package is not checked\n", tool);
                std::fflush(stdout);
                std::_Exit(kSkipped);
            }
        env_ = new vt::test::TestEnvironment;
        // The tools' own temporary files stay in the private folder too.
        env_->Set("TMPDIR", env_->Root().string());
        const fs::path out = env_->Root() / "package";
        const ToolRun cpack = RunTool(
            VANTELO_CPACK_COMMAND,
            {"-G", "DEB", "-B", out.string(), "--config", VANTELO_BINARY_DIR "/CPackConfig.cmake"},
            env_->Root(), 240s);
        buildLog_ = cpack.output;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(out, ec))
            if (entry.path().extension() == ".deb")
                deb_ = entry.path();
        fs::remove_all(out / "_CPack_Packages", ec);
    }
    static void TearDownTestSuite() {
        delete env_;  // with the package and the tools' temporary files
        env_ = nullptr;
    }

    void SetUp() override {
        ASSERT_FALSE(deb_.empty()) << buildLog_;
        scratch_ = env_->Root() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(scratch_);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    // The package's files unpacked under a new private root.
    fs::path Unpack() {
        const fs::path root = scratch_ / "root";
        fs::create_directories(root);
        const ToolRun unpack =
            RunTool(OnPath("dpkg-deb"), {"-x", deb_.string(), root.string()}, scratch_);
        EXPECT_EQ(unpack.exit, 0) << unpack.output;
        return root;
    }

    std::string Field(const std::string& name) {
        const ToolRun field = RunTool(OnPath("dpkg-deb"), {"-f", deb_.string(), name}, scratch_);
        EXPECT_EQ(field.exit, 0) << field.output;
        return field.output;
    }

    static inline vt::test::TestEnvironment* env_ = nullptr;
    static inline std::string buildLog_;
    static inline fs::path deb_;
    fs::path scratch_;
};

TEST_F(DebianPackage, LintianAndAppStreamFindNoErrors) {
    // Errors fail; warnings are listed in the output for whoever reads it.
    const ToolRun lintian =
        RunTool(OnPath("lintian"),
                {"--fail-on", "error", "--tag-display-limit", "0", deb_.string()}, scratch_, 180s);
    EXPECT_EQ(lintian.exit, 0) << lintian.output;
    EXPECT_EQ(("\n" + lintian.output).find("\nE: "), std::string::npos) << lintian.output;
    std::printf("%s", lintian.output.c_str());

    const fs::path root = Unpack();
    const ToolRun metainfo = RunTool(
        OnPath("appstreamcli"), {"validate", "--no-net", (root / kMetainfo).string()}, scratch_);
    EXPECT_EQ(metainfo.exit, 0) << metainfo.output;
    // The installed tree: the metainfo file with the desktop entry it names.
    const ToolRun tree =
        RunTool(OnPath("appstreamcli"), {"validate-tree", "--no-net", root.string()}, scratch_);
    EXPECT_EQ(tree.exit, 0) << tree.output;
}

TEST_F(DebianPackage, ControlFieldsNameWhatTheProgramsNeedAtRunTime) {
    EXPECT_EQ(Field("Package"), "vantelo\n");
    EXPECT_EQ(Field("Section"), "comm\n");
    const std::string depends = Field("Depends");
    for (const char* needed :
         {"libqt6widgets6",             // linked by the window programs (dpkg-shlibdeps)
          "libqt6multimedia6",          // the sound output, through the private libvtmedia
          "libopus0", "libcodec2-1.0",  // linked only by the codec, loaded by name
          "libsqlite3-0", "libmp3lame0",
          "fonts-nanum",  // loaded by no linker: the skins' Korean texts
          "gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good"})  // and the sound
        EXPECT_NE(depends.find(needed), std::string::npos) << needed << " in " << depends;
}

TEST_F(DebianPackage, InstalledFilesNameTheInstalledPrefix) {
    const fs::path root = Unpack();
    // Everything under /usr; the libraries in their private folder.
    for (const auto& entry : fs::directory_iterator(root))
        EXPECT_EQ(entry.path().filename(), "usr");
    for (const char* file :
         {"usr/bin/vantelo", "usr/bin/vanplay", "usr/bin/vanconv", "usr/bin/linesim",
          "usr/bin/tyctl", "usr/bin/vtdb", kLibDir "/libtrc.so", kLibDir "/liblindev.so",
          "usr/share/vantelo/prompts/m_ArsRe1.wav",
          "usr/share/icons/hicolor/scalable/apps/vantelo.svg",
          "usr/share/icons/hicolor/scalable/apps/vanplay.svg",
          "usr/share/mime/packages/vantelo-vrc.xml", "usr/share/doc/vantelo/copyright",
          "usr/share/doc/vantelo/changelog.gz", kMetainfo})
        EXPECT_TRUE(fs::is_regular_file(root / file)) << file;
    const auto lines = [&](const char* file) { return "\n" + vt::test::ReadText(root / file); };
    EXPECT_NE(lines("usr/share/applications/vantelo.desktop").find("\nExec=/usr/bin/vantelo %u\n"),
              std::string::npos);
    EXPECT_NE(lines("usr/share/applications/vanplay.desktop").find("\nExec=/usr/bin/vanplay %f\n"),
              std::string::npos);
    EXPECT_NE(lines("usr/share/systemd/user/vantelo-headless.service")
                  .find("\nExecStart=/usr/bin/vantelo --headless\n"),
              std::string::npos);
}

TEST_F(DebianPackage, UnpackedProgramsRunOnASimulatedLineAndLeaveNothingBehind) {
    const fs::path root = Unpack();
    const fs::path bin = root / "usr/bin";
    const auto before = Listing(root);
    vt::test::TestEnvironment world;  // runtime, application and settings folders
    for (const char* folder : {"user", "cache"}) fs::create_directories(world.Root() / folder);
    world.Set("HOME", (world.Root() / "user").string());
    world.Set("XDG_CACHE_HOME", (world.Root() / "cache").string());
    world.Set("LD_LIBRARY_PATH", "");  // the installed RUNPATH alone finds the libraries
    {
        Background adapter(bin / "linesim", {"serve", "--id", "0"}, world.Root() / "linesim.log");
        ASSERT_TRUE(adapter.Started());
        ToolRun status;
        for (int i = 0; i < 100 && status.exit != 0; ++i) {
            std::this_thread::sleep_for(50ms);
            status = RunTool(bin / "linesim", {"status"}, scratch_, 10s);
        }
        ASSERT_EQ(status.exit, 0) << status.output << adapter.Output();

        Background phone(bin / "vantelo", {"--headless"}, world.Root() / "vantelo.log");
        ASSERT_TRUE(phone.Started());
        // Ready: it serves its request socket, with the line open.
        ASSERT_TRUE(WaitForPath(world.RuntimeDir() / "Korvane_TYC_Plus.sock")) << phone.Output();
        ASSERT_EQ(RunTool(bin / "linesim", {"ring", "1000", "1000"}, scratch_).exit, 0);
        ASSERT_TRUE(phone.WaitForLine("status: 전화가 왔습니다.")) << phone.Output();
        ASSERT_EQ(RunTool(bin / "linesim", {"cid", "0212345678"}, scratch_).exit, 0);
        EXPECT_TRUE(phone.WaitForLine("number: 0212345678")) << phone.Output();
        // The shipped prompts were copied from /usr/share into the application folder.
        EXPECT_TRUE(fs::is_regular_file(world.AppHome() / "m_ARSfile/m_ArsRe1.wav"));

        EXPECT_EQ(phone.Stop(), 0) << phone.Output();
        EXPECT_EQ(adapter.Stop(), 0) << adapter.Output();
    }

    // The codec, loaded by name by the line library (tyctl) and by a program
    // (vanplay), found in the private library folder.
    const fs::path wav = world.Root() / "call.wav";
    const fs::path vrc = world.Root() / "call.vrc";
    ASSERT_TRUE(vt::test::WritePcmWav(wav, vt::test::SpeechLikeSamples(1000)));
    const ToolRun encode = RunTool(bin / "tyctl", {"encode", wav.string(), vrc.string()}, scratch_);
    ASSERT_EQ(encode.exit, 0) << encode.output;
    const ToolRun mp3 = RunTool(bin / "vanplay", {"--to-mp3", vrc.string()}, scratch_);
    EXPECT_EQ(mp3.exit, 0) << mp3.output;
    const fs::path exported = world.Root() / "call.mp3";
    EXPECT_TRUE(fs::is_regular_file(exported) && fs::file_size(exported) > 0) << mp3.output;

    // Nothing was written into the program tree, nothing of it still runs,
    // and its removal leaves nothing.
    EXPECT_EQ(Listing(root), before);
    EXPECT_TRUE(ProcessesFrom(root).empty());
    fs::remove_all(root);
    EXPECT_FALSE(fs::exists(root));
    // (The lock files stay, as locks taken with flock do.)
    EXPECT_EQ(SocketsUnder(world.RuntimeDir()), std::vector<std::string>{})
        << "the stopped programs left their sockets";
}

}  // namespace
}  // namespace vantelo
