// The readers' refusals go through the installed look-up (as a program's
// catalogs), and their numbers and paths are filled in after it.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "speechcodec/SpeechTexts.h"
#include "speechcodec/WavHeader.h"
#include "speechcodec/WavReader.h"
#include "testsupport/TestEnvironment.h"

using namespace speechcodec;

namespace {

// A catalog of a few English texts; it also records which contexts asked.
std::vector<std::string> g_contexts;

std::string English(const char* context, const std::string& text) {
    static const std::map<std::string, std::string> catalog = {
        {"모노가 아닙니다 (채널 %1개)", "not mono (%1 channels)"},
        {"RIFF WAVE 파일이 아닙니다", "not a RIFF WAVE file"},
        {"%1: 44바이트 머리말이 있는 WAV 파일이 아닙니다: %2",
         "%1: not a WAV file with a 44-byte header: %2"},
    };
    g_contexts.push_back(context);
    const auto found = catalog.find(text);
    return found == catalog.end() ? text : found->second;
}

// Installs English for one test and removes it again.
struct EnglishInstalled {
    EnglishInstalled() {
        g_contexts.clear();
        SetTextTranslator(&English);
    }
    ~EnglishInstalled() { SetTextTranslator(nullptr); }
};

std::vector<std::uint8_t> StereoWav() {
    std::vector<std::uint8_t> v(44, 0);
    const auto header = WavHeader::Make(WavEncoding::Pcm16, 0);
    std::copy(header.begin(), header.end(), v.begin());
    v[22] = 2;
    return v;
}

}  // namespace

TEST(SpeechTexts, ArgumentsAreFilledAllAtOnce) {
    struct Case {
        const char* pattern;
        std::initializer_list<std::string> args;
        const char* shown;
    };
    for (const Case& c :
         {Case{"%1 (%2)", {"a", "b"}, "a (b)"}, Case{"%1 (%2)", {"%2", "b"}, "%2 (b)"},
          Case{"%2 %1", {"a", "b"}, "b a"}, Case{"%1 %3", {"a"}, "a %3"}, Case{"100%", {}, "100%"}})
        EXPECT_EQ(SpeechText(c.pattern, c.args), c.shown) << c.pattern;
}

TEST(SpeechTexts, RefusalsSpeakTheInstalledLanguage) {
    const auto stereo = StereoWav();
    WavReader reader;
    ASSERT_FALSE(reader.Parse(stereo.data(), stereo.size()));
    EXPECT_EQ(reader.Error(), "모노가 아닙니다 (채널 2개)");

    vt::test::TestEnvironment env;
    const std::string junk = (env.Root() / "junk.wav").string();
    std::ofstream(junk) << std::string(60, 'x');
    {
        EnglishInstalled english;
        ASSERT_FALSE(reader.Parse(stereo.data(), stereo.size()));
        EXPECT_EQ(reader.Error(), "not mono (2 channels)");
        std::uint32_t before = 0, after = 0;
        std::string error;
        EXPECT_FALSE(WavHeader::RepairLengths(junk, &before, &after, &error));
        EXPECT_EQ(error, junk + ": not a WAV file with a 44-byte header: not a RIFF WAVE file");
        // A text the catalog lacks stays in Korean.
        ASSERT_FALSE(reader.Parse(nullptr, 0));
        EXPECT_EQ(reader.Error(), "파일이 너무 짧아 WAV 파일이 아닙니다");
        ASSERT_FALSE(g_contexts.empty());
        for (const std::string& context : g_contexts) EXPECT_EQ(context, kTextContext);
    }
    ASSERT_FALSE(reader.Parse(stereo.data(), stereo.size()));
    EXPECT_EQ(reader.Error(), "모노가 아닙니다 (채널 2개)");
}

TEST(SpeechTexts, RepairRefusesWhatItCannotMend) {
    vt::test::TestEnvironment env;
    const std::string absent = (env.Root() / "absent.wav").string();
    const std::string shortFile = (env.Root() / "short.wav").string();
    std::ofstream(shortFile) << "RIFF";
    const std::string noData = (env.Root() / "nodata.wav").string();
    {
        auto header = WavHeader::Make(WavEncoding::MuLaw, 0);
        header[36] = 'L';
        std::ofstream(noData, std::ios::binary)
            .write(reinterpret_cast<const char*>(header.data()), header.size());
    }
    struct Case {
        std::string path;
        std::string reason;  // the start of the refusal
    };
    for (const Case& c :
         {Case{absent, absent + "을(를) 열 수 없습니다: "},
          Case{shortFile, shortFile + ": 44바이트 머리말이 있는 WAV 파일이 아닙니다"},
          Case{noData, noData + ": 44바이트 머리말이 있는 WAV 파일이 아닙니다: 36번 위치에 data "
                                "청크가 없습니다"}}) {
        std::uint32_t before = 7, after = 7;
        std::string error;
        EXPECT_FALSE(WavHeader::RepairLengths(c.path, &before, &after, &error));
        EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
        EXPECT_EQ(before, 7u);
    }
}
