#pragma once
// The program's settings: the in-memory copy of the section
// [VanteloSetting] of the settings file, with every key and its default.

#include <filesystem>
#include <string>

#include "platform/IniStore.h"

namespace vantelo {

// The key of the longest message the answering machine records (seconds);
// every other setting is stored under its field's own name.
inline constexpr const char* kMaxMessageKey = "IntAbsenceMaxMessage";

// ModeRecAuto bits.
inline constexpr int kRecAutoReceived = 0x01;
inline constexpr int kRecAutoOutgoing = 0x10;
// ModeAbsence bits.
inline constexpr int kAbsenceGreetingOnly = 0x01;
inline constexpr int kAbsenceCallerChooses = 0x10;

struct PhoneSettings {
    int IsExt = 0;
    std::string StrExt;
    int IsLocal = 0;
    std::string StrLocal;
    int IsReceive = 0;
    std::string StrReceive;
    int ModeRecAuto = 0;
    int ModeRecCompress = 3;
    int IntExtDelay = 1000;
    int IntFlashTime = 250;
    int IntFlashDelay = 1000;
    int IntKeyTime = 160;
    int IntKeyDelay = 100;
    int ModeAbsence = 0;
    int IntAbsenceRingTime = 5000;
    int IntAbsenceTimeOut = 5000;
    std::string StrAbsenceFile;
    int ModeView = 0;
    int IntAbsenceMaxMessage = 30;
    // A message shorter than this (seconds) is not kept.
    int IntAbsenceMinMessage = 2;
    // This many seconds of silence end a message (0: never).
    int IntAbsenceSilence = 7;
    // The programs' language: "auto" (the locale's), "ko" or "en"; read
    // when a program starts.
    std::string Language = "auto";
    // The shared store of an office: a libpq connection URI
    // ("postgresql:///office?host=/run/postgresql&user=kim"); empty for the
    // database file in the application folder. Never with a password.
    std::string DatabaseUrl;
    // This desk's name in the shared call log; empty for the host name.
    std::string DeskName;
    // Not stored: the tone level of every DTMF digit the program sends.
    int ToneLevel = 8;
};

// Reads every key (a missing one gives its default). False when the file
// exists but cannot be read; the settings are then the defaults.
bool LoadSettings(PhoneSettings& settings,
                  const std::filesystem::path& file = vt::SettingsFilePath());
// Writes every key back, keeping any other section or key of the file.
bool SaveSettings(const PhoneSettings& settings,
                  const std::filesystem::path& file = vt::SettingsFilePath());

}  // namespace vantelo
