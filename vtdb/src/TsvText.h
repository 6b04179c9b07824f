#pragma once
// One field of a tab-separated line: tab, line ends and backslash are written
// as \t, \n, \r and \\ so every record stays on one line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtdb {

std::string EscapeField(std::string_view text);
// nullopt for a backslash that starts no known escape.
std::optional<std::string> UnescapeField(std::string_view text);
std::vector<std::string> SplitTabs(std::string_view line);

}  // namespace vtdb
