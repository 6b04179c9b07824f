// What the contact edits kept while the shared server was away cost: the
// phone's look for kept edits every 2 s when there are none, and the
// handover of many kept edits to a book of many contacts, on a private
// PostgreSQL server.
//
//   vantelo_contact_edit_bench [--contacts N] [--edits N]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "storage/Transaction.h"
#include "testsupport/PostgresServer.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void Check(const char* what, const storage::Status& s) {
    if (!s.ok()) {
        std::fprintf(stderr, "bench: %s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

vantelo::ContactRecord Contact(long i) {
    vantelo::ContactRecord c;
    *c.Field("Name") = "연락처" + std::to_string(i);
    *c.Field("HomePhone") = "02" + std::to_string(10000000 + i);
    return c;
}

// What the phone's 2-second look costs when nothing is kept.
void Idle(vantelo::DatabasePhoneStore& store, const char* label) {
    std::vector<double> idle;
    for (int r = 0; r < 200; ++r) {
        const auto t0 = Clock::now();
        store.HandOverKeptCalls();
        idle.push_back(Millis(Clock::now() - t0));
    }
    std::sort(idle.begin(), idle.end());
    std::printf("%-48s %8.3f ms (slowest %.3f)\n", label, idle[idle.size() / 2], idle.back());
}

}  // namespace

int main(int argc, char** argv) {
    long contacts = 20000, edits = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--contacts")
            contacts = std::atol(argv[i + 1]);
        else if (a == "--edits")
            edits = std::atol(argv[i + 1]);
    }
    const vt::Clock& clock = vt::SystemClock::Instance();
    const fs::path folder =
        fs::temp_directory_path() / ("vantelo-edit-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string uri = vt::test::PostgresServer::Shared().NewDatabase();
    Check("prepare", vantelo::PrepareDatabase(clock, uri).status());
    {
        vantelo::CRSAddressList book;
        Check("open", book.Open(uri));
        storage::Transaction t(*book.GetConnection());
        Check("begin", t.Begin());
        for (long i = 0; i < contacts; ++i) Check("add", book.AddContact(Contact(i)));
        Check("commit", t.Commit());
    }
    std::printf("%ld contacts on the server, %ld edits kept\n", contacts, edits);
    {
        vantelo::DatabasePhoneStore store(clock, uri, folder);
        // The copy with the server's IDs, as a desk has it before the server goes.
        while (!store.Copy()->LookNow()) {
        }
        Idle(store, "look, no spool file, median");

        // Changes to contacts spread over the book, kept as the page keeps them.
        vantelo::CRSAddressList copy;
        Check("open copy", copy.Open(store.Copy()->File()));
        const auto k0 = Clock::now();
        for (long e = 0; e < edits; ++e) {
            Check("move", copy.SetAbsolutePosition((e * 7919) % copy.GetRecordCount()));
            vantelo::ContactRecord c = Contact(e);
            *c.Field("Notes") = "offline " + std::to_string(e);
            Check("store", copy.StoreCurrent(c));
            Check("keep", store.Edits()->KeepChange("AddressList", copy.GetRecordId().value(), c));
        }
        const double keptMs = Millis(Clock::now() - k0);
        std::printf("%-48s %8.3f ms\n", "keep one edit (copy + spool)", keptMs / edits);
        const auto h0 = Clock::now();
        store.HandOverKeptCalls();
        const double handMs = Millis(Clock::now() - h0);
        const long left = store.Edits()->Count().value_or(-1);
        std::printf("%-48s %8.0f ms (%.3f ms an edit), %ld left\n", "hand all kept edits over",
                    handMs, handMs / edits, left);
        Idle(store, "look, spool file without edits, median");
    }
    fs::remove_all(folder);
    return 0;
}
