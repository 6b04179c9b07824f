// Timings of the recordings on a shared database (a private PostgreSQL
// server of the bench's own, on a Unix socket): the upload of a 10-minute
// recording, its fetch into an empty cache on another desk, the playback of
// the cached copy, and what the phone thread spends in AppendCall for a
// recorded call (the upload itself runs on the uploader's thread).
//
//   vantelo_recording_bench [--minutes N] [--runs N]
//
// A recording is 16-bit 8 kHz mono PCM (16000 bytes a second), the largest
// the phone writes. Each figure is the median of --runs runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/PlayableRecording.h"
#include "vantelo/core/SharedRecordings.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    int minutes = 10, runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--minutes")
            minutes = std::max(1, std::atoi(argv[i + 1]));
        else if (flag == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    vt::test::TestEnvironment env;
    const std::string uri = vt::test::PostgresServer::Shared().NewDatabase();
    const vt::FixedClock clock = vt::FixedClock::At(2026, 12, 10, 9, 0, 0);
    const fs::path folder = env.Root() / "Record" / "2026-12-10";
    fs::create_directories(folder);
    const size_t bytes = static_cast<size_t>(minutes) * 60 * 16000;
    std::string data(bytes, '\0');
    std::mt19937 random(7);
    for (char& c : data) c = static_cast<char>(random());

    std::vector<double> append, upload, fetch, cached;
    vantelo::DatabasePhoneStore store(clock, uri);
    if (!store.OpenError().empty())
        Die(store.OpenError());
    auto connection = storage::Connection::Open(uri);
    if (!connection.ok())
        Die(connection.status().ToString());
    for (int run = 0; run < runs; ++run) {
        const std::string name = "09000" + std::to_string(run) + ".wav";
        std::ofstream(folder / name, std::ios::binary) << data;
        vantelo::CallRecord call;
        call.Reset(clock);
        call.CallMode = vantelo::kCallOutgoing;
        call.CallNum = "0315550000";
        call.CallTime = minutes * 60;
        call.CallRec = true;
        call.CallRecDirectory = folder.string() + "/";
        call.CallRecFileName = name;
        std::string error;
        // The phone thread's share: the row, and the upload handed over.
        auto start = Clock::now();
        if (!store.AppendCall(call, error))
            Die(error);
        append.push_back(Ms(start));
        if (!store.Uploads()->WaitUntilIdle(std::chrono::minutes(5)))
            Die("the upload did not end");

        // The upload alone, on a call whose recording is not stored yet.
        vantelo::CRSCallList log(uri);
        if (!log.Open().ok() || !log.MoveLast().ok())
            Die("cannot read the call log");
        auto logged = log.CurrentCall();
        if (!logged.ok())
            Die(logged.status().ToString());
        storage::ChunkedFiles files(*connection.value(), vantelo::RecordingTable());
        if (!files.Remove(logged.value().CallUid).ok())
            Die("cannot remove the stored recording");
        start = Clock::now();
        auto stored =
            vantelo::StoreRecording(*connection.value(), logged.value().CallUid, folder / name);
        upload.push_back(Ms(start));
        if (!stored.ok() || !stored.value())
            Die("upload failed");

        // Desk B: the local file is not there, the cache is empty.
        vantelo::CallRecord elsewhere = logged.value();
        elsewhere.CallRecDirectory = (env.Root() / "not here").string() + "/";
        const fs::path cache = env.Root() / ("cache" + std::to_string(run));
        start = Clock::now();
        const vantelo::PlayableRecording fetched =
            vantelo::FindPlayableRecording(elsewhere, uri, cache);
        fetch.push_back(Ms(start));
        if (!fetched.ok() || fs::file_size(fetched.file) != bytes)
            Die("fetch failed: " + fetched.error);
        start = Clock::now();
        const vantelo::PlayableRecording again =
            vantelo::FindPlayableRecording(elsewhere, uri, cache);
        cached.push_back(Ms(start));
        if (again.file != fetched.file)
            Die("the cached copy was not used");
    }
    std::printf("recording of %d min (%.1f MB), median of %d runs:\n", minutes, bytes / 1e6, runs);
    std::printf("  AppendCall on the phone thread  %8.2f ms\n", Median(append));
    std::printf("  upload (StoreRecording)         %8.2f ms  (%.0f MB/s)\n", Median(upload),
                bytes / 1e3 / Median(upload));
    std::printf("  fetch into an empty cache       %8.2f ms  (%.0f MB/s)\n", Median(fetch),
                bytes / 1e3 / Median(fetch));
    std::printf("  playable path from the cache    %8.2f ms\n", Median(cached));
    return 0;
}
