#pragma once
// A large database for the benchmarks: made by the program's own storage
// layer (so its schema is the program's), then filled in one transaction by
// recursive SQL. Contacts are named "이름N" with home phone 02 + (10000000+N);
// calls cycle through the four kinds over a few years of dates.

#include <filesystem>

namespace vantelo::bench {

bool MakeDatabase(const std::filesystem::path& file, long contacts, long calls);

}  // namespace vantelo::bench
