#include "NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace workbook {

std::string NumberText(double value) {
    if (!std::isfinite(value))
        return "#NUM!";
    if (value == 0)
        return "0";  // also for -0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    return buf;
}

std::string StoredNumberText(const std::string& stored) {
    if (stored.empty())
        return stored;
    char* end = nullptr;
    const double v = std::strtod(stored.c_str(), &end);
    if (end == stored.c_str() || *end != '\0')
        return stored;
    return NumberText(v);
}

}  // namespace workbook
