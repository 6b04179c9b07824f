#include "vantelo/core/PhoneSettings.h"

namespace vantelo {

namespace {

// One table for both directions, so no key can be loaded and not saved.
template <typename Visit>
void ForEachKey(PhoneSettings& s, Visit&& visit) {
    visit("IsExt", s.IsExt);
    visit("StrExt", s.StrExt);
    visit("IsLocal", s.IsLocal);
    visit("StrLocal", s.StrLocal);
    visit("IsReceive", s.IsReceive);
    visit("StrReceive", s.StrReceive);
    visit("ModeRecAuto", s.ModeRecAuto);
    visit("ModeRecCompress", s.ModeRecCompress);
    visit("IntExtDelay", s.IntExtDelay);
    visit("IntFlashTime", s.IntFlashTime);
    visit("IntFlashDelay", s.IntFlashDelay);
    visit("IntKeyTime", s.IntKeyTime);
    visit("IntKeyDelay", s.IntKeyDelay);
    visit("ModeAbsence", s.ModeAbsence);
    visit("IntAbsenceRingTime", s.IntAbsenceRingTime);
    visit("IntAbsenceTimeOut", s.IntAbsenceTimeOut);
    visit("StrAbsenceFile", s.StrAbsenceFile);
    visit("ModeView", s.ModeView);
    visit(kMaxMessageKey, s.IntAbsenceMaxMessage);
    visit("IntAbsenceMinMessage", s.IntAbsenceMinMessage);
    visit("IntAbsenceSilence", s.IntAbsenceSilence);
    visit("Language", s.Language);
    visit("DatabaseUrl", s.DatabaseUrl);
    visit("DeskName", s.DeskName);
}

struct Reader {
    const vt::IniStore& store;
    void operator()(const char* key, int& value) const {
        value = static_cast<int>(store.GetInt(vt::kSettingsSection, key, value));
    }
    void operator()(const char* key, std::string& value) const {
        value = store.GetString(vt::kSettingsSection, key, value);
    }
};

struct Writer {
    vt::IniStore& store;
    void operator()(const char* key, int& value) const {
        store.SetInt(vt::kSettingsSection, key, value);
    }
    void operator()(const char* key, std::string& value) const {
        store.SetString(vt::kSettingsSection, key, value);
    }
};

}  // namespace

bool LoadSettings(PhoneSettings& settings, const std::filesystem::path& file) {
    settings = PhoneSettings{};
    vt::IniStore store(file);
    const bool read = store.Load();
    if (read)
        ForEachKey(settings, Reader{store});
    settings.ToneLevel = 8;
    return read;
}

bool SaveSettings(const PhoneSettings& settings, const std::filesystem::path& file) {
    vt::IniStore store(file);
    store.Load();  // keep what else the file holds
    PhoneSettings copy = settings;
    ForEachKey(copy, Writer{store});
    return store.Save();
}

}  // namespace vantelo
