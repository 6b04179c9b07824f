#pragma once
// Date/Time fields are stored as local-time text "YYYY-MM-DD HH:MM:SS", so
// that text order is time order and the file stays readable by other tools.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace storage {

// True for a real calendar date and a time of day (leap years included).
bool IsValidLocalTime(const vt::LocalTime& t);

// "YYYY-MM-DD HH:MM:SS". The value must be valid.
std::string FormatDateTime(const vt::LocalTime& t);

// Reads exactly the stored form; nullopt for anything else or an invalid date.
std::optional<vt::LocalTime> ParseDateTime(std::string_view text);

}  // namespace storage
