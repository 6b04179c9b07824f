#pragma once
// vtdb run as a program to its end, its output and errors kept apart.

#include <filesystem>
#include <string>
#include <vector>

namespace vt::test {

struct VtdbOutput {
    int code = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Standard error goes through `errFile` (in the test's private folder).
VtdbOutput RunVtdb(const std::vector<std::string>& args, const std::filesystem::path& errFile);

}  // namespace vt::test
