#pragma once
// "vtdb sync": one sync of the contact book with the [CardDav] address book,
// printing each change on a line, then each problem on a line of its own
// (standard error); exit 0 when every card went through.

#include <iosfwd>
#include <string>
#include <vector>

namespace vtdb {

// `args` are those after "sync".
int SyncCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vtdb
