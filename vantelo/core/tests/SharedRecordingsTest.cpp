// Recordings on the shared server: a call recorded and logged on one desk is
// playable on another with the same bytes (fetched once into a private
// cache), an upload that failed is done later, a deleted call takes its
// recording along, and nothing changes on the database file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <random>

#include "storage/ChunkedFiles.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PlayableRecording.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/SharedRecordings.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using vt::test::PostgresServer;

constexpr std::chrono::seconds kUploadLimit{60};

// The database name of a URI made by PostgresServer ("postgresql:///NAME?...").
std::string DatabaseName(const std::string& uri) {
    const size_t start = std::string("postgresql:///").size();
    return uri.substr(start, uri.find('?') - start);
}

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

std::string Bytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(random());
    return s;
}

class SharedRecordingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        uri_ = PostgresServer::Shared().NewDatabase();
        deskA_ = env_.Root() / "deskA";
        cacheB_ = env_.Root() / "deskB-cache" / "vantelo" / "recordings";
    }

    // A finished call of desk A with a recording of `bytes`.
    CallRecord RecordedCall(const std::string& name, const std::string& bytes) {
        const fs::path folder = deskA_ / "Record" / "2007-03-12";
        fs::create_directories(folder);
        std::ofstream(folder / name, std::ios::binary) << bytes;
        CallRecord call;
        call.Reset(clock_);
        call.CallMode = kCallReceived;
        call.CallNum = "0212345678";
        call.CallTime = 600;
        call.CallRec = true;
        call.CallRecDirectory = folder.string() + "/";
        call.CallRecFileName = name;
        return call;
    }

    void Log(DatabasePhoneStore& store, CallRecord call) {
        std::string error;
        ASSERT_TRUE(store.AppendCall(call, error)) << error;
    }

    // The logged calls as another desk reads them, oldest first.
    std::vector<CallRecord> LoggedCalls() {
        CRSCallList log(uri_);
        std::vector<CallRecord> calls;
        if (!log.Open().ok())
            return calls;
        for (long i = 0; i < log.GetRecordCount(); ++i) {
            if (!log.SetAbsolutePosition(i).ok())
                break;
            auto call = log.CurrentCall();
            if (call.ok())
                calls.push_back(call.value());
        }
        return calls;
    }

    std::set<std::string> StoredKeys() {
        auto c = storage::Connection::Open(uri_);
        if (!c.ok())
            return {"(no connection)"};
        auto keys = storage::ChunkedFiles(*c.value(), RecordingTable()).Keys();
        return keys.ok() ? keys.value() : std::set<std::string>{"(no table)"};
    }

    // Desk B is another PC: desk A's recording folder is not there.
    void LeaveDeskA() { fs::rename(deskA_, env_.Root() / "deskA elsewhere"); }

    vt::test::TestEnvironment env_;
    vt::FixedClock clock_ = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    std::string uri_;
    fs::path deskA_;
    fs::path cacheB_;
};

TEST_F(SharedRecordingsTest, ACallRecordedOnDeskAPlaysOnDeskBWithTheSameBytes) {
    // Empty, exactly one chunk, and several chunks with a short last one.
    const size_t chunk = storage::ChunkedFiles::kChunkBytes;
    const std::vector<std::pair<std::string, std::string>> recordings = {
        {"090507.wav", ""},
        {"090508.wav", Bytes(chunk, 1)},
        {"090509.mp3", Bytes(2 * chunk + 17, 2)}};
    {
        DatabasePhoneStore deskA(clock_, uri_);
        ASSERT_EQ(deskA.OpenError(), "");
        ASSERT_NE(deskA.Uploads(), nullptr);
        for (const auto& [name, bytes] : recordings) Log(deskA, RecordedCall(name, bytes));
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        EXPECT_EQ(deskA.Uploads()->Stored(), recordings.size()) << deskA.Uploads()->LastError();
    }
    // The local files stay where they were recorded.
    for (const auto& [name, bytes] : recordings)
        EXPECT_EQ(vt::test::ReadText(deskA_ / "Record" / "2007-03-12" / name), bytes);
    LeaveDeskA();

    const std::vector<CallRecord> calls = LoggedCalls();
    ASSERT_EQ(calls.size(), recordings.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        const PlayableRecording played = FindPlayableRecording(calls[i], uri_, cacheB_);
        ASSERT_TRUE(played.ok()) << played.error;
        EXPECT_EQ(played.file.parent_path(), cacheB_);
        EXPECT_EQ(played.file.extension(), fs::path(recordings[i].first).extension());
        EXPECT_EQ(vt::test::ReadText(played.file), recordings[i].second) << played.file;
        EXPECT_EQ(ModeOf(played.file), 0600u);
    }
    EXPECT_EQ(ModeOf(cacheB_), 0700u);
    EXPECT_EQ(ModeOf(cacheB_.parent_path()), 0700u);
    // Only the finished copies are in the cache.
    EXPECT_EQ(std::distance(fs::directory_iterator(cacheB_), fs::directory_iterator()),
              static_cast<long>(recordings.size()));

    // A copy once fetched plays without the server.
    const std::string away = PostgresServer::Shared().Uri("no_such_database");
    const PlayableRecording cached = FindPlayableRecording(calls[2], away, cacheB_);
    ASSERT_TRUE(cached.ok()) << cached.error;
    EXPECT_EQ(vt::test::ReadText(cached.file), recordings[2].second);
    // Without a copy, one line says why, in the user's language.
    const PlayableRecording missing =
        FindPlayableRecording(calls[2], away, env_.Root() / "other cache");
    EXPECT_TRUE(missing.file.empty());
    EXPECT_EQ(missing.error.rfind("공유 데이터베이스에서 녹음을 가져올 수 없습니다: ", 0), 0u)
        << missing.error;
    EXPECT_EQ(missing.error.find('\n'), std::string::npos);
}

TEST_F(SharedRecordingsTest, AFailedUploadIsDoneWithTheNextCallOrAtTheNextStart) {
    const std::string db = DatabaseName(uri_);
    {
        DatabasePhoneStore deskA(clock_, uri_);
        ASSERT_NE(deskA.Uploads(), nullptr);
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        // The server refuses the recordings for a while.
        PostgresServer::Shared().Exec(db, "ALTER TABLE \"CallRecording\" RENAME TO away");
        Log(deskA, RecordedCall("100000.wav", Bytes(1000, 3)));
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        EXPECT_EQ(deskA.Uploads()->Waiting(), 1u);
        EXPECT_NE(deskA.Uploads()->LastError(), "");
        PostgresServer::Shared().Exec(db, "ALTER TABLE away RENAME TO \"CallRecording\"");
        // The next logged call takes the waiting one along.
        Log(deskA, RecordedCall("100100.wav", Bytes(2000, 4)));
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        EXPECT_EQ(deskA.Uploads()->Waiting(), 0u);
        EXPECT_EQ(deskA.Uploads()->Stored(), 2u);
        EXPECT_EQ(StoredKeys().size(), 2u);

        PostgresServer::Shared().Exec(db, "ALTER TABLE \"CallRecording\" RENAME TO away");
        Log(deskA, RecordedCall("100200.wav", Bytes(3000, 5)));
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        EXPECT_EQ(deskA.Uploads()->Waiting(), 1u);
    }  // the program ends with an upload left
    PostgresServer::Shared().Exec(db, "ALTER TABLE away RENAME TO \"CallRecording\"");
    // A recording whose file is gone is not looked for.
    fs::remove(deskA_ / "Record" / "2007-03-12" / "100000.wav");
    PostgresServer::Shared().Exec(db, "DELETE FROM \"CallRecording\"");
    {
        DatabasePhoneStore deskA(clock_, uri_);
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
        EXPECT_EQ(deskA.Uploads()->Stored(), 2u) << deskA.Uploads()->LastError();
    }
    const std::vector<CallRecord> calls = LoggedCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(StoredKeys(), (std::set<std::string>{calls[1].CallUid, calls[2].CallUid}));
    // Another desk's calls are its own to upload.
    auto missing = RecordingUploader::Missing(uri_, "another desk");
    ASSERT_TRUE(missing.ok());
    EXPECT_TRUE(missing.value().empty());
}

TEST_F(SharedRecordingsTest, DeletingACallRemovesItsStoredRecording) {
    {
        DatabasePhoneStore deskA(clock_, uri_);
        Log(deskA, RecordedCall("110000.wav", Bytes(5000, 6)));
        Log(deskA, RecordedCall("110100.wav", Bytes(5000, 7)));
        ASSERT_TRUE(deskA.Uploads()->WaitUntilIdle(kUploadLimit));
    }
    std::vector<CallRecord> calls = LoggedCalls();
    ASSERT_EQ(calls.size(), 2u);
    ASSERT_EQ(StoredKeys().size(), 2u);
    LeaveDeskA();  // deleted on desk B, where only the stored copy is

    CRSCallList log(uri_);
    ASSERT_TRUE(log.Open().ok());
    ASSERT_TRUE(log.SetAbsolutePosition(0).ok());
    auto deleted = log.DeleteCurrentCall();
    ASSERT_TRUE(deleted.ok()) << deleted.status().ToString();
    EXPECT_EQ(deleted.value().deleted, 1);
    EXPECT_EQ(StoredKeys(), std::set<std::string>{calls[1].CallUid});
    auto c = storage::Connection::Open(uri_);
    ASSERT_TRUE(c.ok());
    storage::ChunkedFiles files(*c.value(), RecordingTable());
    const PlayableRecording gone = FindPlayableRecording(calls[0], uri_, cacheB_);
    EXPECT_EQ(gone.error, "녹음이 이 PC에 없고 공유 데이터베이스에도 아직 없습니다: " +
                              calls[0].CallRecFileName);
    EXPECT_FALSE(fs::exists(cacheB_ / (calls[0].CallUid + ".wav")));
    // A recording of a call deleted before its upload is not stored.
    const fs::path late = env_.Root() / "late.wav";
    std::ofstream(late, std::ios::binary) << "RIFF";
    auto stored = StoreRecording(*c.value(), calls[0].CallUid, late);
    ASSERT_TRUE(stored.ok()) << stored.status().ToString();
    EXPECT_FALSE(stored.value());
    EXPECT_FALSE(files.Find(calls[0].CallUid).value_or(std::nullopt).has_value());
}

TEST_F(SharedRecordingsTest, TheDatabaseFileIsUnchanged) {
    const fs::path file = env_.AppHome() / kDatabaseFileName;
    DatabasePhoneStore store(clock_, file);
    ASSERT_EQ(store.OpenError(), "");
    EXPECT_EQ(store.Uploads(), nullptr);
    CallRecord call = RecordedCall("120000.wav", "RIFF");
    const fs::path local = RecordingRemoval::FileOf(call);
    Log(store, call);
    CRSCallList log(file);
    ASSERT_TRUE(log.Open().ok());
    ASSERT_TRUE(log.MoveFirst().ok());
    auto logged = log.CurrentCall();
    ASSERT_TRUE(logged.ok());
    const PlayableRecording here = FindPlayableRecording(logged.value(), file, cacheB_);
    EXPECT_EQ(here.file, local);
    EXPECT_EQ(here.error, "");
    fs::remove(local);
    const PlayableRecording gone = FindPlayableRecording(logged.value(), file, cacheB_);
    EXPECT_EQ(gone.error, "녹음 파일이 없습니다: " + local.string());
    EXPECT_FALSE(fs::exists(cacheB_));
    CallRecord plain;
    EXPECT_EQ(FindPlayableRecording(plain, file, cacheB_).error, "이 통화에는 녹음이 없습니다.");
}

}  // namespace
}  // namespace vantelo
