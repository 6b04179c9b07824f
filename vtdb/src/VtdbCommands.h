#pragma once
// The subcommands of vtdb. Each prints its result to `out`, a one-line error
// to `err`, and returns the process exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace vtdb {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vtdb
