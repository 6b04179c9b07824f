#include "VtdbRun.h"

#include <sys/wait.h>

#include <cstdio>

#include "testsupport/TestEnvironment.h"

namespace vt::test {

namespace {

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

VtdbOutput RunVtdb(const std::vector<std::string>& args, const std::filesystem::path& errFile) {
    std::string cmd = Quote((BinaryFolder() / "vtdb").string());
    for (const auto& a : args) cmd += " " + Quote(a);
    cmd += " 2>" + Quote(errFile.string());
    VtdbOutput o;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return o;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) o.out.append(buf, n);
    const int status = ::pclose(p);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.err = ReadText(errFile);
    return o;
}

}  // namespace vt::test
