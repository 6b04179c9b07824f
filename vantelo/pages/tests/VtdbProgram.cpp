#include "VtdbProgram.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>

#include "testsupport/ChildProcess.h"
#include "testsupport/TestEnvironment.h"

namespace vantelo::pages::test {

std::string Vtdb(const std::vector<std::string>& args) {
    vt::test::ChildProcess vtdb(vt::test::BinaryFolder() / "vtdb", args);
    const auto status = vtdb.WaitExit(std::chrono::seconds(60));
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << vtdb.Output();
    return vtdb.Output();
}

}  // namespace vantelo::pages::test
