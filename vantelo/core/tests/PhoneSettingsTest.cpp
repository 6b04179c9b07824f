// Settings in the INI store, and the number cleaning used for dialling.

#include <gtest/gtest.h>

#include "platform/IniStore.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CleanNumber.h"
#include "vantelo/core/PhoneSettings.h"

namespace vantelo {
namespace {

TEST(PhoneSettings, EmptyStoreGivesEveryDefault) {
    vt::test::TestEnvironment env;
    PhoneSettings s;
    s.IntKeyTime = 1;
    EXPECT_TRUE(LoadSettings(s));
    EXPECT_EQ(s.ModeRecCompress, 3);
    EXPECT_EQ(s.IntKeyTime, 160);
    EXPECT_EQ(s.IntKeyDelay, 100);
    EXPECT_EQ(s.IntFlashTime, 250);
    EXPECT_EQ(s.IntFlashDelay, 1000);
    EXPECT_EQ(s.IntExtDelay, 1000);
    EXPECT_EQ(s.IntAbsenceRingTime, 5000);
    EXPECT_EQ(s.IntAbsenceTimeOut, 5000);
    EXPECT_EQ(s.IntAbsenceMaxMessage, 30);
    EXPECT_EQ(s.IntAbsenceMinMessage, 2);
    EXPECT_EQ(s.IntAbsenceSilence, 7);
    EXPECT_EQ(s.ModeAbsence, 0);
    EXPECT_EQ(s.ToneLevel, 8);
    EXPECT_EQ(s.Language, "auto");
}

TEST(PhoneSettings, SaveWritesEveryKeyAndLoadReadsThemBack) {
    vt::test::TestEnvironment env;
    PhoneSettings s;
    s.IsExt = 1;
    s.StrExt = "9";
    s.IsLocal = 1;
    s.StrLocal = "02";
    s.IsReceive = 1;
    s.StrReceive = "*8";
    s.ModeRecAuto = 17;
    s.ModeRecCompress = 0;
    s.IntExtDelay = 2000;
    s.IntFlashTime = 100;
    s.IntFlashDelay = 700;
    s.IntKeyTime = 200;
    s.IntKeyDelay = 90;
    s.ModeAbsence = 16;
    s.IntAbsenceRingTime = 9000;
    s.IntAbsenceTimeOut = 3000;
    s.StrAbsenceFile = "/home/u/인사말.wav";
    s.ModeView = 2;
    s.IntAbsenceMaxMessage = 60;
    s.IntAbsenceMinMessage = 3;
    s.IntAbsenceSilence = 0;
    s.Language = "en";
    s.DatabaseUrl = "postgresql:///office?host=/run/postgresql&user=kim";
    s.DeskName = "접수";
    ASSERT_TRUE(SaveSettings(s));

    vt::IniStore store(vt::SettingsFilePath());
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Keys(vt::kSettingsSection).size(), 24u);
    EXPECT_EQ(store.GetInt(vt::kSettingsSection, "IntAbsenceMaxMessage"), 60);
    EXPECT_EQ(store.GetInt(vt::kSettingsSection, "ModeView"), 2);

    PhoneSettings back;
    ASSERT_TRUE(LoadSettings(back));
    EXPECT_EQ(back.StrExt, "9");
    EXPECT_EQ(back.DatabaseUrl, s.DatabaseUrl);
    EXPECT_EQ(back.DeskName, "접수");
    EXPECT_EQ(back.StrLocal, "02");
    EXPECT_EQ(back.StrReceive, "*8");
    EXPECT_EQ(back.ModeRecAuto, 17);
    EXPECT_EQ(back.ModeRecCompress, 0);
    EXPECT_EQ(back.IntExtDelay, 2000);
    EXPECT_EQ(back.IntFlashTime, 100);
    EXPECT_EQ(back.IntFlashDelay, 700);
    EXPECT_EQ(back.IntKeyTime, 200);
    EXPECT_EQ(back.IntKeyDelay, 90);
    EXPECT_EQ(back.ModeAbsence, 16);
    EXPECT_EQ(back.IntAbsenceRingTime, 9000);
    EXPECT_EQ(back.IntAbsenceTimeOut, 3000);
    EXPECT_EQ(back.StrAbsenceFile, "/home/u/인사말.wav");
    EXPECT_EQ(back.ModeView, 2);
    EXPECT_EQ(back.IntAbsenceMaxMessage, 60);
    EXPECT_EQ(back.IntAbsenceMinMessage, 3);
    EXPECT_EQ(back.IntAbsenceSilence, 0);
    EXPECT_EQ(back.Language, "en");
    EXPECT_EQ(back.IsExt + back.IsLocal + back.IsReceive, 3);
}

TEST(CleanNumber, KeepsOnlyDigitsStarAndHash) {
    EXPECT_EQ(CleanNumber("02-123.4567"), "021234567");
    EXPECT_EQ(CleanNumber("(031) 555 *8#"), "031555*8#");
    EXPECT_EQ(CleanNumber("홍길동"), "");
    EXPECT_EQ(CleanNumber(""), "");
}

}  // namespace
}  // namespace vantelo
