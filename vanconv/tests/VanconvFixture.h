#pragma once
// Helpers of the converter's tests: a registered installation in a private
// test environment, contacts in its database, and the stand-in vantelo.

#include <signal.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "testsupport/TestEnvironment.h"
#include "vanconv/VCardFile.h"
#include "vanconv/VanteloInstall.h"

namespace vanconv::test {

// Writes the App Paths file: Path = the test's application folder, Exe =
// `exe` (the stand-in by default).
VanteloInstall Register(const vt::test::TestEnvironment& env, std::filesystem::path exe = {});

// The stand-in program built beside the tests.
std::filesystem::path FakeVanteloPath();

// Adds contacts through the converter's own import of a sheet.
void AddContacts(const std::filesystem::path& database, const std::vector<ContactFields>& rows);
// Every contact of the database, in stored order.
std::vector<ContactFields> AllContacts(const std::filesystem::path& database);

// Makes the database engine refuse to store a contact of that name (a
// trigger), standing for an engine error in the middle of an import.
void RefuseName(const std::filesystem::path& database, const std::string& name);

// A contact whose every field holds something ("n" makes it differ).
ContactFields SampleContact(int n);

// Controls the stand-in vantelo: started by the test or by the converter;
// every instance it logged is killed when this object goes.
class FakeVantelo {
public:
    explicit FakeVantelo(const vt::test::TestEnvironment& env) : env_(env) {}
    ~FakeVantelo();

    // Starts one and waits until it holds the lock; false if it did not.
    bool Start(bool stubborn = false);
    // Whether some program holds vantelo's single-instance lock.
    static bool LockHeld();
    // Lines of the log ("started", "request 256", "closed"), without pids.
    std::vector<std::string> Log() const;
    int Count(const std::string& line) const;
    // Waits up to 5 s for the log to hold `line` `times` times.
    bool WaitFor(const std::string& line, int times) const;

private:
    const vt::test::TestEnvironment& env_;
    std::vector<pid_t> children_;
};

}  // namespace vanconv::test
