#include "vantelo/core/CallLogBackup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "platform/Translate.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PlayableRecording.h"

namespace vantelo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "CallLogBackup";

std::string Errno() {
    return std::strerror(errno);
}

// "%1에 쓸 수 없습니다: <reason>" for the file being written.
std::string CannotWrite(const fs::path& file) {
    return vt::Translate(kContext, QT_TRANSLATE_NOOP("CallLogBackup", "%1에 쓸 수 없습니다: %2"),
                         {file.string(), Errno()});
}

// Folders the backup makes are the user's own.
bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = vt::Translate(
            kContext, QT_TRANSLATE_NOOP("CallLogBackup", "폴더 %1을(를) 만들 수 없습니다: %2"),
            {folder.string(), Errno()});
        return false;
    }
    if (!fs::is_directory(folder, ec)) {
        error =
            vt::Translate(kContext, QT_TRANSLATE_NOOP("CallLogBackup", "%1은(는) 폴더가 아닙니다"),
                          {folder.string()});
        return false;
    }
    return true;
}

}  // namespace

CallLogBackup::CallLogBackup(fs::path destination, fs::path database)
    : destination_(std::move(destination)), database_(std::move(database)) {}

CallLogBackup::~CallLogBackup() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::string CallLogBackup::CallTimeText(const vt::LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

std::string CallLogBackup::Block(int number, const CallRecord& call) {
    const std::string label = CallKindLabel(call.CallMode);
    std::string out =
        std::to_string(number) + " : " + (label.empty() ? "Unknowon" : label) + "\r\n";
    const std::string time = CallTimeText(call.CallDate);
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.2ld:%.2ld", call.CallTime / 60, call.CallTime % 60);
    out += "통화 시각 : " + time + "\r\n";
    out += std::string("통화 시간 : ") + duration + "\r\n";
    out += "이름 : " + call.CallName + "\r\n";
    out += "전화번호 : " + call.CallNum + "\r\n";
    if (call.CallRec)
        out += "녹음파일 :   /" + time.substr(0, 10) + "/" + call.CallRecFileName + "\r\n";
    else
        out += "녹음파일 : " + call.CallRecFileName + "\r\n";
    out += "통화 메모 : " + call.CallMemo + "\r\n\r\n";
    return out;
}

void CallLogBackup::Fail(std::string what) {
    failures_.push_back(std::move(what));
}

bool CallLogBackup::Begin() {
    std::string error;
    if (!MakeFolder(destination_, error)) {
        Fail(error);
        return false;
    }
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? kFileName : "Logo-" + std::to_string(n) + ".txt";
        file_ = destination_ / name;
        fd_ = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_ >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    Fail(vt::Translate(kContext,
                       QT_TRANSLATE_NOOP("CallLogBackup", "%1을(를) 만들 수 없습니다: %2"),
                       {file_.string(), Errno()}));
    return false;
}

void CallLogBackup::Add(int number, const CallRecord& call) {
    if (fd_ < 0)
        return;
    const std::string block = Block(number, call);
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t n = ::write(fd_, block.data() + done, block.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Fail(CannotWrite(file_));
            return;
        }
        done += static_cast<std::size_t>(n);
    }
    if (call.CallRec)
        CopyRecording(call);
}

void CallLogBackup::CopyRecording(const CallRecord& call) {
    const fs::path folder = destination_ / CallTimeText(call.CallDate).substr(0, 10);
    std::string error;
    if (!MakeFolder(folder, error)) {
        Fail(error);
        return;
    }
    const PlayableRecording playable = FindPlayableRecording(call, database_);
    if (!playable.ok() && IsSharedDatabase(database_)) {
        Fail(playable.error);
        return;
    }
    const fs::path from =
        playable.ok() ? playable.file : fs::path(call.CallRecDirectory + call.CallRecFileName);
    const fs::path to = folder / call.CallRecFileName;
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, ec);
    if (ec)
        Fail(vt::Translate(
            kContext, QT_TRANSLATE_NOOP("CallLogBackup", "녹음 %1을(를) 복사할 수 없습니다: %2"),
            {from.string(), ec.message()}));
}

long CallLogBackup::AddAll(CRSCallList& calls, const std::atomic<bool>* stop) {
    long written = 0;
    if (calls.GetRecordCount() == 0)
        return 0;
    storage::Status s = calls.MoveFirst();
    while (s.ok() && !calls.IsEOF()) {
        if (stop && stop->load())
            break;
        storage::Result<CallRecord> call = calls.CurrentCall();
        if (!call.ok()) {
            Fail(vt::Translate(
                kContext, QT_TRANSLATE_NOOP("CallLogBackup", "통화 %1을(를) 읽을 수 없습니다: %2"),
                {std::to_string(written + 1), call.status().message()}));
            break;
        }
        Add(static_cast<int>(++written), call.value());
        s = calls.MoveNext();
    }
    if (!s.ok())
        Fail(vt::Translate(kContext,
                           QT_TRANSLATE_NOOP("CallLogBackup", "통화 기록을 읽을 수 없습니다: %1"),
                           {s.message()}));
    return written;
}

bool CallLogBackup::Finish() {
    if (fd_ >= 0) {
        if (::fsync(fd_) != 0 && errno != EINVAL)
            Fail(CannotWrite(file_));
        if (::close(fd_) != 0)
            Fail(CannotWrite(file_));
        fd_ = -1;
    }
    return failures_.empty();
}

}  // namespace vantelo
