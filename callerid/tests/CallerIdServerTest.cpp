// The server on a loopback port with clients of the protocol: what a client
// gets, and that no client can hold up the others or the phone.

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "NcidTestClient.h"
#include "callerid/CallerIdServer.h"
#include "callerid/CallerIdTexts.h"

namespace callerid {
namespace {

using namespace std::chrono_literals;
using test::NcidTestClient;

class Notices {
public:
    CallerIdServer::Report Sink() {
        return [this](const Notice& n) {
            std::lock_guard lock(mutex_);
            all_.push_back(n);
        };
    }
    int Count(const char* text) {
        std::lock_guard lock(mutex_);
        int n = 0;
        // By content: each file may hold its own copy of a literal.
        for (const auto& notice : all_) n += std::string_view(notice.text) == text;
        return n;
    }

private:
    std::mutex mutex_;
    std::vector<Notice> all_;
};

std::unique_ptr<CallerIdServer> StartServer(Notices& notices, ServerLimits limits = {}) {
    auto server = std::make_unique<CallerIdServer>(notices.Sink(), limits);
    ServerAddress address = *ServerAddress::Parse("127.0.0.1:1");
    reinterpret_cast<sockaddr_in*>(&address.socket)->sin_port = 0;  // any free port
    std::string error;
    EXPECT_TRUE(server->Start(address, &error)) << error;
    return server;
}

bool WaitForClients(CallerIdServer& server, std::size_t count) {
    for (int i = 0; i < 500; ++i) {
        if (server.ClientCount() == count)
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(CallerIdServer, AClientGetsTheGreetingTheLogAndThenEveryLine) {
    Notices notices;
    auto server = StartServer(notices);
    NcidTestClient first(server->Port());
    ASSERT_TRUE(first.Connected());
    auto startup = first.ReadUntil("300 ");
    ASSERT_TRUE(startup);
    ASSERT_EQ(startup->size(), 4u);
    EXPECT_EQ((*startup)[0].rfind("200 ", 0), 0u);
    EXPECT_EQ((*startup)[1].rfind("210 ", 0), 0u);
    EXPECT_EQ((*startup)[2], "252 Call log empty");

    server->Remember("CIDLOG: *DATE*01022026*TIME*1000*LINE*d*NMBR*1*MESG*NONE*NAME*가*");
    server->Remember("CIDLOG: *DATE*01022026*TIME*1001*LINE*d*NMBR*2*MESG*NONE*NAME*나*");
    NcidTestClient second(server->Port());
    startup = second.ReadUntil("300 ");
    ASSERT_TRUE(startup);
    ASSERT_EQ(startup->size(), 6u);
    EXPECT_EQ((*startup)[2].rfind("CIDLOG: *DATE*01022026*TIME*1000*", 0), 0u);
    EXPECT_EQ((*startup)[3].rfind("CIDLOG: *DATE*01022026*TIME*1001*", 0), 0u);
    EXPECT_EQ((*startup)[4], "250 End of call log");
    ASSERT_TRUE(WaitForClients(*server, 2));

    server->Publish("CID: one");
    server->Publish("CIDINFO: two");
    for (NcidTestClient* client : {&first, &second}) {
        EXPECT_EQ(client->ReadLine(), "CID: one");
        EXPECT_EQ(client->ReadLine(), "CIDINFO: two");
        EXPECT_EQ(client->BareLineEnds(), 0) << "every line ends in CR LF";
    }
}

TEST(CallerIdServer, TheLogKeepsTheNewestCallsOnly) {
    Notices notices;
    ServerLimits limits;
    limits.logLines = 3;
    auto server = StartServer(notices, limits);
    for (int i = 1; i <= 5; ++i) server->Remember("CIDLOG: " + std::to_string(i));
    NcidTestClient client(server->Port());
    const auto startup = client.ReadUntil("300 ");
    ASSERT_TRUE(startup);
    const std::vector<std::string> log(startup->begin() + 2, startup->end() - 2);
    EXPECT_EQ(log, (std::vector<std::string>{"CIDLOG: 3", "CIDLOG: 4", "CIDLOG: 5"}));
}

// Each abuse leaves a well-behaved client connected before it with every
// line, and the server open to a new client.
TEST(CallerIdServer, NoClientHoldsUpTheOthers) {
    struct Case {
        const char* name;
        std::function<void(CallerIdServer&, Notices&)> abuse;
    };
    const std::string megabyte(1 << 20, 'x');
    const Case cases[] = {
        {"garbage",
         [](CallerIdServer& server, Notices&) {
             NcidTestClient bad(server.Port());
             std::string garbage;
             for (int i = 0; i < 65536; ++i) garbage.push_back(static_cast<char>(i * 7919 % 256));
             EXPECT_TRUE(bad.Send(garbage));
             EXPECT_TRUE(bad.Send("HELLO: IDENT: client test 1.0\r\nREQ: YO\r\nMSG: hi\r\n\r\n"));
             EXPECT_TRUE(bad.ReadUntil("300 "));  // served like any client
         }},
        {"a 1 MB line",
         [&](CallerIdServer& server, Notices&) {
             NcidTestClient bad(server.Port());
             EXPECT_TRUE(bad.Send(megabyte));
             EXPECT_TRUE(bad.Send(megabyte + "\nMSG: after\n"));
             EXPECT_TRUE(bad.ReadUntil("300 "));
         }},
        {"200 connections",
         [](CallerIdServer& server, Notices& notices) {
             std::vector<std::unique_ptr<NcidTestClient>> flood;
             for (int i = 0; i < 200; ++i)
                 flood.push_back(std::make_unique<NcidTestClient>(server.Port()));
             int served = 0, refused = 0;
             for (auto& client : flood) {
                 if (auto line = client->ReadLine(5s); line && line->rfind("200 ", 0) == 0)
                     ++served;
                 else
                     ++refused;
             }
             EXPECT_EQ(served, 31);  // the limit, with the good client
             EXPECT_EQ(refused, 169);
             EXPECT_EQ(notices.Count(text::kTooManyClients), 1) << "one line per run";
         }},
        {"a client that never reads",
         [](CallerIdServer& server, Notices& notices) {
             NcidTestClient slow(server.Port(), 4096);
             ASSERT_TRUE(WaitForClients(server, 2));
             // Calls come at a phone's pace: a few lines at a time.
             for (int i = 0; i < 1000; ++i) {
                 server.Publish("CIDINFO: *LINE*desk*RING*" + std::to_string(i) + "*" +
                                std::string(80, '.'));
                 if (i % 20 == 19)
                     std::this_thread::sleep_for(1ms);
             }
             EXPECT_TRUE(slow.ClosedByServer(10s));
             EXPECT_EQ(notices.Count(text::kSlowClientDropped), 1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Notices notices;
        ServerLimits limits;
        limits.maxQueuedBytes = 16 * 1024;
        limits.sendBufferBytes = 4096;
        auto server = StartServer(notices, limits);
        NcidTestClient good(server->Port());
        ASSERT_TRUE(good.ReadUntil("300 "));
        // The good client reads all along, as a display does.
        std::vector<std::string> received;
        std::thread reader([&] {
            while (auto line = good.ReadLine(20s)) {
                received.push_back(*line);
                if (*line == "CID: end")
                    return;
            }
        });
        c.abuse(*server, notices);
        server->Publish("CID: end");
        reader.join();
        ASSERT_FALSE(received.empty());
        EXPECT_EQ(received.back(), "CID: end");
        // Whatever was published came whole and in order.
        int next = 0;
        for (const auto& line : received) {
            if (line.rfind("CIDINFO: *LINE*desk*RING*", 0) == 0) {
                EXPECT_EQ(line.substr(25, line.find('*', 25) - 25), std::to_string(next++));
            }
        }
        ASSERT_TRUE(WaitForClients(*server, 1));
        NcidTestClient later(server->Port());
        EXPECT_TRUE(later.ReadUntil("300 "));
    }
}

TEST(CallerIdServer, AnAddressInUseIsRefusedWithItsReason) {
    Notices notices;
    auto first = StartServer(notices);
    CallerIdServer second(notices.Sink());
    ServerAddress address = *ServerAddress::Parse("127.0.0.1:" + std::to_string(first->Port()));
    std::string error;
    EXPECT_FALSE(second.Start(address, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(second.Running());
    second.Publish("CID: nobody");  // harmless when not running
}

}  // namespace
}  // namespace callerid
