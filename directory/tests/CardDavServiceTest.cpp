// The phone's sync thread against a real CardDAV server (Radicale): a sync
// at start and on demand, news handed to the sink, new settings taken by the
// running thread, and a stop that ends it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <fstream>
#include <mutex>

#include "directory/CardDavService.h"
#include "testsupport/RadicaleTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/VanteloDatabase.h"

namespace directory {
namespace {

using namespace std::chrono_literals;

class Sink {
public:
    void operator()(const CardDavReport& report, const std::string& line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
        added_ += report.Count(CardDavReport::Kind::AddedHere);
        changed_.notify_all();
    }
    // Waits (bounded) until `count` lines came; the lines so far.
    std::vector<std::string> Lines(size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 30s, [&] { return lines_.size() >= count; });
        return lines_;
    }
    int Added() {
        std::lock_guard lock(mutex_);
        return added_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    int added_ = 0;
};

TEST(CardDavServiceTest, SyncsAtStartAndOnDemandAndStops) {
    vt::test::TestEnvironment env;
    env.Set("DBUS_SESSION_BUS_ADDRESS", "");
    ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok());
    vt::test::RadicaleTestServer server(env.Root() / "radicale");
    CardDavSettings settings;
    settings.url = server.CreateAddressBook("contacts");
    settings.user = server.User();
    settings.passwordFile = env.Root() / "pw";
    std::ofstream(settings.passwordFile) << server.Password() << "\n";
    ::chmod(settings.passwordFile.c_str(), 0600);
    const auto put = [&](const std::string& uid) {
        ASSERT_EQ(server.Curl("PUT", settings.url + uid + ".vcf",
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + uid +
                                  "\r\nTEL;TYPE=CELL:0101234" + std::to_string(uid.size()) +
                                  "\r\nEND:VCARD\r\n",
                              {"Content-Type: text/vcard"})
                          .status /
                      100,
                  2);
    };
    put("a");
    Sink sink;
    CardDavService service(vantelo::DefaultDatabasePath(),
                           [&sink](const CardDavReport& r, const std::string& l) { sink(r, l); });
    service.Start(settings);
    ASSERT_EQ(sink.Lines(1).size(), 1u);
    EXPECT_EQ(sink.Added(), 1);

    put("bb");
    service.SyncNow();
    ASSERT_EQ(sink.Lines(2).size(), 2u);
    EXPECT_EQ(sink.Added(), 2);

    // New settings (a wrong password) reach the running thread: one line.
    settings.passwordFile = env.Root() / "pw2";
    std::ofstream(settings.passwordFile) << "wrong\n";
    ::chmod(settings.passwordFile.c_str(), 0600);
    service.Start(settings);
    const auto lines = sink.Lines(3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("401"), std::string::npos) << lines[2];
    service.Stop();
}

}  // namespace
}  // namespace directory
