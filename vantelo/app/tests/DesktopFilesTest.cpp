// What `cmake --install` gives the desktop: the entries of the two window
// programs (vantelo for tel: and callto: links, vanplay for recordings),
// their icons and the .vrc type, installed into a staging folder (DESTDIR)
// and checked with the desktop's own tools where they are present.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>

#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path Tool(const char* name) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"})
        if (fs::exists(fs::path(folder) / name))
            return fs::path(folder) / name;
    return {};
}

// The program's exit status with its output in `output`.
int RunTool(const fs::path& program, const std::vector<std::string>& args, const fs::path& output) {
    const auto probe = vt::test::StartProbe(program, args, output);
    const auto exit = vt::test::WaitProbe(probe, 60s);
    return !exit.hung && WIFEXITED(exit.status) ? WEXITSTATUS(exit.status) : -1;
}

// The value of `key` in a desktop entry's text.
std::string Value(const std::string& entry, const std::string& key) {
    const auto at = entry.find("\n" + key + "=");
    if (at == std::string::npos)
        return {};
    const auto start = at + key.size() + 2;
    return entry.substr(start, entry.find('\n', start) - start);
}

class DesktopFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("DESTDIR", stage_.string());
        ASSERT_EQ(RunTool(VANTELO_CMAKE_COMMAND,
                      {"--install", VANTELO_BINARY_DIR, "--component", "desktop", "--prefix",
                       "/opt/vantelo"},
                      log_),
                  0)
            << vt::test::ReadText(log_);
    }
    fs::path Share() const { return stage_ / "opt/vantelo/share"; }

    vt::test::TestEnvironment env_;
    fs::path stage_ = env_.Root() / "stage";
    fs::path log_ = env_.Root() / "install.log";
};

TEST_F(DesktopFilesTest, VanteloHandlesTelAndCalltoLinksWithTheInstalledProgram) {
    const std::string entry = vt::test::ReadText(Share() / "applications/vantelo.desktop");
    ASSERT_FALSE(entry.empty()) << vt::test::ReadText(log_);
    EXPECT_EQ(Value(entry, "Exec"), "/opt/vantelo/bin/vantelo %u");
    EXPECT_EQ(Value(entry, "MimeType"), "x-scheme-handler/tel;x-scheme-handler/callto;");
    EXPECT_EQ(Value(entry, "Icon"), "vantelo");
    EXPECT_EQ(Value(entry, "Terminal"), "false");
}

TEST_F(DesktopFilesTest, VanplayOpensRecordingsOfBothKinds) {
    const std::string entry = vt::test::ReadText(Share() / "applications/vanplay.desktop");
    ASSERT_FALSE(entry.empty()) << vt::test::ReadText(log_);
    EXPECT_EQ(Value(entry, "Exec"), "/opt/vantelo/bin/vanplay %f");
    const std::string types = Value(entry, "MimeType");
    EXPECT_NE(types.find("audio/x-vantelo-vrc;"), std::string::npos);
    EXPECT_NE(types.find("audio/x-wav;"), std::string::npos);
    EXPECT_NE(types.find("audio/vnd.wave;"), std::string::npos);
}

TEST_F(DesktopFilesTest, TheDesktopsValidatorAcceptsBothEntries) {
    const fs::path validate = Tool("desktop-file-validate");
    if (validate.empty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    for (const char* name : {"vantelo.desktop", "vanplay.desktop"}) {
        const fs::path out = env_.Root() / (std::string(name) + ".check");
        EXPECT_EQ(RunTool(validate, {(Share() / "applications" / name).string()}, out), 0)
            << name << ": " << vt::test::ReadText(out);
        EXPECT_EQ(vt::test::ReadText(out), "") << name;
    }
}

TEST_F(DesktopFilesTest, VrcFilesGetTheirOwnTypeInTheMimeDatabase) {
    ASSERT_TRUE(fs::exists(Share() / "mime/packages/vantelo-vrc.xml"));
    const fs::path update = Tool("update-mime-database");
    if (update.empty())
        GTEST_SKIP() << "update-mime-database is not installed";
    const fs::path out = env_.Root() / "mime.log";
    ASSERT_EQ(RunTool(update, {(Share() / "mime").string()}, out), 0) << vt::test::ReadText(out);
    const std::string globs = vt::test::ReadText(Share() / "mime/globs2");
    EXPECT_NE(globs.find(":audio/x-vantelo-vrc:*.vrc"), std::string::npos) << globs;
}

TEST_F(DesktopFilesTest, IconsAreScalableImagesInTheThemeFolder) {
    for (const char* name : {"vantelo.svg", "vanplay.svg"}) {
        QFile file(QString::fromStdString(
            (Share() / "icons/hicolor/scalable/apps" / name).string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        QXmlStreamReader xml(&file);
        ASSERT_TRUE(xml.readNextStartElement()) << name;
        EXPECT_EQ(xml.name(), QLatin1String("svg")) << name;
        EXPECT_EQ(xml.attributes().value("viewBox"), QLatin1String("0 0 128 128")) << name;
        while (!xml.atEnd())
            xml.readNext();
        EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
    }
}

}  // namespace
}  // namespace vantelo
