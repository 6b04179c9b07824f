#pragma once
// The directory's answers of one day, "nobody" included, so a caller who
// rings again is named without asking again. A new day starts empty.

#include <map>
#include <optional>
#include <string>

namespace directory {

class NameCache {
public:
    // The name kept for the number today (empty: nobody has it); nullopt
    // when it was not asked today. `day` is any text that changes daily.
    std::optional<std::string> Find(const std::string& number, const std::string& day);
    void Keep(const std::string& number, const std::string& name, const std::string& day);

private:
    void StartDay(const std::string& day);

    std::string day_;
    std::map<std::string, std::string> names_;
};

}  // namespace directory
