// Time from a caller ID on the line to the "CID:" line at a network
// caller-ID client: `vantelo --headless` on the simulated line serves the
// protocol on loopback; each call rings, the caller ID is given to the
// simulated adapter, and the client's clock stops at the CID line (the
// name looked up in a contact book of `contacts` entries). The caller then
// gives up and the next call comes.
//   callerid_latency_bench [calls=30] [contacts=10000]

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "../tests/NcidTestClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/IniStore.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bool MakeContacts(const std::filesystem::path& database, long count) {
    vt::SystemClock clock;
    if (!vantelo::PrepareDatabase(clock, database).ok())
        return false;
    vantelo::CRSAddressList contacts;
    if (!contacts.Open(database).ok())
        return false;
    for (long i = 0; i < count; ++i) {
        vantelo::ContactRecord contact;
        *contact.Field("Name") = "홍길동" + std::to_string(i);
        *contact.Field("HomePhone") = "02" + std::to_string(10000000 + i);
        if (!contacts.AddContact(contact).ok())
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 30;
    const long contacts = argc > 2 ? std::atol(argv[2]) : 10000;
    vt::test::TestEnvironment env;
    const auto database = env.AppHome() / vantelo::kDatabaseFileName;
    if (!MakeContacts(database, std::max(contacts, 1L))) {
        std::fprintf(stderr, "cannot fill the contact book\n");
        return 1;
    }
    const int port = vt::test::FreeLoopbackPort();
    {
        vantelo::PhoneSettings s;
        vantelo::SaveSettings(s);
        vt::IniStore ini(vt::SettingsFilePath());
        ini.Load();
        ini.SetString(vt::kSettingsSection, "CallerIdServer", "127.0.0.1:" + std::to_string(port));
        ini.SetString(vt::kSettingsSection, "DeskName", "bench");
        ini.Save();
    }
    linesim::test::ScopedDaemon line(0);
    line.Command("speed 20");
    const auto probe = vt::test::StartProbe(vt::test::BinaryFolder() / "vantelo", {"--headless"},
                                            env.Root() / "vantelo.out");
    std::unique_ptr<callerid::test::NcidTestClient> client;
    for (int i = 0; i < 100; ++i) {
        client =
            std::make_unique<callerid::test::NcidTestClient>(static_cast<unsigned short>(port));
        if (client->Connected() && client->ReadUntil("300 ", 2s))
            break;
        client.reset();
        std::this_thread::sleep_for(100ms);
    }
    auto finish = [&](int status) {
        ::kill(probe.pid, SIGTERM);
        vt::test::WaitProbe(probe, std::chrono::seconds(10));
        return status;
    };
    if (!client) {
        std::fprintf(stderr, "no caller-ID server\n%s\n",
                     vt::test::ReadText(env.Root() / "vantelo.out").c_str());
        return finish(1);
    }

    // The line opens a moment after the program starts.
    for (int i = 0; i < 300; ++i) {
        if (vt::test::ReadText(env.Root() / "vantelo.out").find("status: 장치가 연결되었습니다.") !=
            std::string::npos)
            break;
        std::this_thread::sleep_for(100ms);
    }

    std::vector<double> ms;
    for (int call = 0; call < calls; ++call) {
        const std::string number = "02" + std::to_string(10000000 + call % std::max(contacts, 1L));
        line.Command("ring 500 500 1");
        if (!client->ReadUntil("CIDINFO: *LINE*bench*RING*1*", 10s)) {
            std::fprintf(stderr, "call %d: no ring\n", call);
            return finish(1);
        }
        const auto given = Clock::now();
        line.Command("cid " + number);
        const auto lines = client->ReadUntil("CID:", 10s);
        const auto seen = Clock::now();
        if (!lines || lines->back().find("*NMBR*" + number + "*") == std::string::npos ||
            lines->back().find("*NAME*홍길동") == std::string::npos) {
            std::fprintf(stderr, "call %d: no CID line with name\n", call);
            return finish(1);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(seen - given).count());
        if (!client->ReadUntil("CIDINFO: *LINE*bench*RING*-1*", 30s)) {
            std::fprintf(stderr, "call %d: the ringing did not end\n", call);
            return finish(1);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "caller ID to the CID line at a network client, %d calls, %ld contacts: "
        "median %.1f ms, worst %.1f ms (goal: under 500 ms)\n",
        calls, contacts, ms[ms.size() / 2], ms.back());
    return finish(0);
}
