#include "directory/NameCache.h"

#include "directory/PhoneNumber.h"

namespace directory {

void NameCache::StartDay(const std::string& day) {
    if (day == day_)
        return;
    day_ = day;
    names_.clear();
}

std::optional<std::string> NameCache::Find(const std::string& number, const std::string& day) {
    StartDay(day);
    const auto it = names_.find(NationalNumber(number));
    if (it == names_.end())
        return std::nullopt;
    return it->second;
}

void NameCache::Keep(const std::string& number, const std::string& name, const std::string& day) {
    StartDay(day);
    names_[NationalNumber(number)] = name;
}

}  // namespace directory
