#include "vantelo/core/CallJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <map>
#include <sstream>

#include "platform/Folders.h"
#include "platform/IniStore.h"
#include "storage/DateTimeText.h"

namespace vantelo {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxJournalBytes = 64 * 1024;

std::optional<std::string> ReadSmallFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < kMaxJournalBytes)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    if (n < 0)
        return std::nullopt;
    return text;
}

std::string Date(const vt::LocalTime& t) {
    return storage::IsValidLocalTime(t) ? storage::FormatDateTime(t) : std::string();
}

vt::LocalTime FileTime(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return {};
    return vt::ToLocalTime(std::chrono::system_clock::from_time_t(st.st_mtime));
}

std::time_t Seconds(const vt::LocalTime& t) {
    return std::chrono::system_clock::to_time_t(vt::FromLocalTime(t));
}

bool IsWav(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    return ext == ".wav";
}

void PutLittle32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kWavHeaderBytes = 44;

// The 44-byte header of one of our mu-law recordings, or nothing.
std::optional<std::array<std::uint8_t, kWavHeaderBytes>> MuLawHeader(int fd) {
    std::array<std::uint8_t, kWavHeaderBytes> h{};
    if (::pread(fd, h.data(), h.size(), 0) != static_cast<ssize_t>(h.size()))
        return std::nullopt;
    auto is = [&](std::size_t at, const char* tag) {
        return std::equal(tag, tag + 4, h.begin() + static_cast<long>(at));
    };
    if (!is(0, "RIFF") || !is(8, "WAVE") || !is(12, "fmt ") || !is(36, "data") || h[20] != 7 ||
        h[21] != 0)
        return std::nullopt;
    return h;
}

bool MendOpenWav(int fd) {
    auto header = MuLawHeader(fd);
    struct stat st {};
    if (!header || ::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kWavHeaderBytes))
        return false;
    const auto data = static_cast<std::uint64_t>(st.st_size) - kWavHeaderBytes;
    if (data > 0xFFFFFFFFull - 36)
        return false;
    PutLittle32(header->data() + 4, static_cast<std::uint32_t>(data + 36));
    PutLittle32(header->data() + 40, static_cast<std::uint32_t>(data));
    return ::pwrite(fd, header->data(), header->size(), 0) == static_cast<ssize_t>(header->size());
}

}  // namespace

// --- JournalEntry ---------------------------------------------------------------

std::string JournalEntry::Text() const {
    std::ostringstream out;
    auto put = [&](const char* key, const std::string& value) {
        out << key << '=' << vt::EscapeLineValue(value) << '\n';
    };
    auto flag = [&](const char* key, bool value) { put(key, value ? "1" : "0"); };
    put("CallMode", std::to_string(call.CallMode));
    put("CallName", call.CallName);
    put("CallNum", call.CallNum);
    put("CallCompressMode", std::to_string(call.CallCompressMode));
    put("CallDate", Date(call.CallDate));
    put("CallRecDirectory", call.CallRecDirectory);
    put("CallRecFileName", call.CallRecFileName);
    flag("CallRec", call.CallRec);
    put("CallDtmf", call.CallDtmf);
    flag("CallbInner", call.CallbInner);
    put("CallMemo", call.CallMemo);
    put("CallerNumber", callerNumber);
    put("DialledNumber", dialledNumber);
    put("LineDigits", lineDigits);
    flag("AppDialled", appDialled);
    flag("InnerLine", innerLine);
    flag("Connected", connected);
    flag("Recording", recording);
    flag("Engaged", engaged);
    put("AbsenceLevel", std::to_string(absenceLevel));
    flag("Finished", finished);
    put("CallTime", std::to_string(call.CallTime));
    put("LastAlive", Date(lastAlive));
    return out.str();
}

std::optional<JournalEntry> JournalEntry::Parse(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = vt::UnescapeLineValue(line.substr(eq + 1));
    }
    auto number = [&](const char* key, int& into) {
        const std::string& v = values[key];
        if (v.empty() || v.size() > 9 || v.find_first_not_of("-0123456789") != std::string::npos)
            return false;
        into = std::stoi(v);
        return true;
    };
    auto flag = [&](const char* key) { return values[key] == "1"; };
    JournalEntry e;
    const auto date = storage::ParseDateTime(values["CallDate"]);
    if (!date || !number("CallMode", e.call.CallMode) || e.call.CallMode < 0 ||
        e.call.CallMode > kCallBlocked)
        return std::nullopt;  // no call that could be logged
    e.call.CallDate = *date;
    number("CallCompressMode", e.call.CallCompressMode);
    number("AbsenceLevel", e.absenceLevel);
    e.call.CallName = values["CallName"];
    e.call.CallNum = values["CallNum"];
    e.call.CallRecDirectory = values["CallRecDirectory"];
    e.call.CallRecFileName = values["CallRecFileName"];
    e.call.CallRec = flag("CallRec");
    e.call.CallDtmf = values["CallDtmf"];
    e.call.CallbInner = flag("CallbInner");
    e.call.CallMemo = values["CallMemo"];
    e.callerNumber = values["CallerNumber"];
    e.dialledNumber = values["DialledNumber"];
    e.lineDigits = values["LineDigits"];
    e.appDialled = flag("AppDialled");
    e.innerLine = flag("InnerLine");
    e.connected = flag("Connected");
    e.recording = flag("Recording");
    e.engaged = flag("Engaged");
    e.finished = flag("Finished");
    int seconds = 0;
    if (number("CallTime", seconds) && seconds > 0)
        e.call.CallTime = seconds;
    e.lastAlive = storage::ParseDateTime(values["LastAlive"]).value_or(*date);
    return e;
}

// --- CallJournal ----------------------------------------------------------------

CallJournal::CallJournal(fs::path appFolder)
    : folder_(std::move(appFolder)), file_(folder_ / kFileName) {}

bool CallJournal::Write(const JournalEntry& entry) {
    std::string text = entry.Text();
    if (text == written_)
        return true;
    if (!vt::WritePrivateFileAtomically(file_, text))
        return false;
    written_ = std::move(text);
    return true;
}

std::optional<JournalEntry> CallJournal::Read() const {
    return ReadFile(file_);
}

std::optional<JournalEntry> CallJournal::ReadFile(const fs::path& file) {
    const auto text = ReadSmallFile(file);
    return text ? JournalEntry::Parse(*text) : std::nullopt;
}

bool CallJournal::Exists() const {
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(file_, ec));
}

void CallJournal::Remove() {
    ::unlink(file_.c_str());
    written_.clear();
}

bool CallJournal::SetAside(const vt::Clock& clock) {
    const vt::LocalTime t = clock.NowLocal();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    for (int n = 0; n < 1000; ++n) {
        const fs::path target =
            folder_ / (std::string(kSetAsidePrefix) + stamp + "-" + std::to_string(n) + ".txt");
        std::error_code ec;
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;
        // link + unlink never replaces a journal set aside before.
        if (::link(file_.c_str(), target.c_str()) == 0) {
            Remove();
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

std::vector<fs::path> CallJournal::SetAsideFiles() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kSetAsidePrefix, 0) == 0 && entry.path().extension() == ".txt" &&
            entry.is_regular_file(ec) && !entry.is_symlink(ec))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// --- recovery helpers -----------------------------------------------------------

long InterruptedCallSeconds(const JournalEntry& entry) {
    vt::LocalTime last = entry.lastAlive;
    if (entry.call.CallRec) {
        const vt::LocalTime written =
            FileTime(fs::path(entry.call.CallRecDirectory) / entry.call.CallRecFileName);
        if (storage::IsValidLocalTime(written) && Seconds(written) > Seconds(last))
            last = written;
    }
    const long seconds = static_cast<long>(Seconds(last) - Seconds(entry.call.CallDate));
    return seconds > 0 ? seconds : 0;
}

bool MendWavLengths(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = MendOpenWav(fd);
    return ::close(fd) == 0 && ok;
}

bool CutRecording(const fs::path& file, std::uint64_t audioBytes) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool wav = IsWav(file);
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && (!wav || MuLawHeader(fd));
    const auto keep = static_cast<off_t>(audioBytes + (wav ? kWavHeaderBytes : 0));
    if (ok && st.st_size > keep)
        ok = ::ftruncate(fd, keep) == 0;
    if (ok && wav)
        ok = MendOpenWav(fd);
    return ::close(fd) == 0 && ok;
}

bool JoinRecordings(const fs::path& first, const fs::path& rest) {
    const bool wav = IsWav(first);
    if (wav != IsWav(rest) || first.extension() != rest.extension())
        return false;
    const int in = ::open(rest.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0)
        return false;
    const int out = ::open(first.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    struct stat before {};
    bool ok = out >= 0 && ::fstat(out, &before) == 0;
    if (ok && wav)
        ok = MuLawHeader(out) && MuLawHeader(in);
    off_t from = wav ? static_cast<off_t>(kWavHeaderBytes) : 0;
    off_t to = before.st_size;
    std::vector<char> buffer(64 * 1024);
    while (ok) {
        const ssize_t n = ::pread(in, buffer.data(), buffer.size(), from);
        if (n == 0)
            break;
        ok = n > 0 && ::pwrite(out, buffer.data(), static_cast<std::size_t>(n), to) == n;
        from += n;
        to += n;
    }
    if (ok && wav)
        ok = MendOpenWav(out);
    ok = ok && ::fsync(out) == 0;
    if (!ok && out >= 0)
        (void)::ftruncate(out, before.st_size);  // the first part as it was
    if (out >= 0)
        ::close(out);
    ::close(in);
    if (ok)
        ::unlink(rest.c_str());
    return ok;
}

}  // namespace vantelo
