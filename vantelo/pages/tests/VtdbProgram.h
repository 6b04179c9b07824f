#pragma once
// vtdb, the database's other user, run as a program to its end.

#include <string>
#include <vector>

namespace vantelo::pages::test {

// What it printed; a run that does not end well fails the test.
std::string Vtdb(const std::vector<std::string>& args);

}  // namespace vantelo::pages::test
