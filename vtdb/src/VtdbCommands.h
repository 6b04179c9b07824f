#pragma once
// The subcommands of vtdb. Each prints its result to `out`, a one-line error
// to `err`, and returns the process exit code.

#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

namespace vtdb {

// Set by SIGINT/SIGTERM: a long command ends at the next record.
std::atomic<bool>& StopRequested();

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vtdb
