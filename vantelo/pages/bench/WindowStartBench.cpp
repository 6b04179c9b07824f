// Time to a usable phone window (built, shown and painted, the address
// book's grid filled) over a contact book of N entries in both contact
// tables, and the time to look a ringing caller up and show the entry.
//   vantelo_window_bench [contacts=100000] [runs=3]
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tools/IdlePhone.h"
#include "AddressBookPage.h"
#include "PhoneWindow.h"
#include "platform/Clock.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/VanteloDatabase.h"

using namespace vantelo::pages;

namespace {

bool Fill(vantelo::ContactRecordSet& set, long count, const char* group) {
    if (!set.Open().ok())
        return false;
    storage::Transaction t(*set.GetConnection());
    if (!t.Begin().ok())
        return false;
    for (long i = 0; i < count; ++i) {
        vantelo::ContactRecord c;
        c.fields[0] = "이름" + std::to_string(i);
        c.fields[1] = i % 50 == 0 ? group + std::to_string(i % 700) : "친구";
        c.fields[2] = "02" + std::to_string(10000000 + i);
        c.fields[4] = "010" + std::to_string(20000000 + i);
        c.fields[12] = std::to_string(100 + i % 900);
        if (!set.AddNew().ok() || !c.Write(set).ok() || !set.Update().ok())
            return false;
    }
    return t.Commit().ok();
}

}  // namespace

int main(int argc, char** argv) {
    const long contacts = argc > 1 ? std::atol(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vt::test::TestEnvironment env;
    QApplication app(argc, argv);
    if (!vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok())
        return 1;
    vantelo::CRSAddressList book;
    vantelo::CRSInnerLineList inner;
    if (!Fill(book, contacts, "모임") || !Fill(inner, contacts, "부서"))
        return 1;
    book.Close();
    inner.Close();

    IdlePhone phone(true);  // ringing: the caller lookup switches pages
    vantelo::DatabasePhoneStore store(vt::SystemClock::Instance(), vantelo::DefaultDatabasePath());
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        PhoneWindow::Setup setup;
        setup.database = vantelo::DefaultDatabasePath();
        setup.tray = false;
        PhoneWindow window(phone, setup);
        window.show();
        window.repaint();
        QApplication::processEvents();
        const qint64 startMs = clock.elapsed();

        clock.restart();
        const vantelo::CallerName caller = store.IdentifyCaller("01020050000", "");
        window.CallerIdentified("01020050000", caller);
        QApplication::processEvents();
        const std::string& name = caller.name;
        const qint64 lookupMs = clock.elapsed();
        std::printf("contacts %ld: window usable in %lld ms (grid %d rows); ringing lookup "
                    "\"%s\" with page switch in %lld ms\n",
                    contacts, static_cast<long long>(startMs),
                    window.AddressBook().Grid().RowCount(), name.c_str(),
                    static_cast<long long>(lookupMs));
    }
    return 0;
}
