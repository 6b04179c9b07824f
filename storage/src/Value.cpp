#include "storage/Value.h"

#include <charconv>
#include <cstdio>

namespace storage {

std::int64_t Value::AsInteger() const {
    switch (kind()) {
        case Kind::Null:
            return 0;
        case Kind::Integer:
            return std::get<std::int64_t>(data_);
        case Kind::Real:
            return static_cast<std::int64_t>(std::get<double>(data_));
        case Kind::Text: {
            const std::string& s = std::get<std::string>(data_);
            std::int64_t v = 0;
            auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
            return (ec == std::errc() && p == s.data() + s.size()) ? v : 0;
        }
    }
    return 0;
}

double Value::AsReal() const {
    switch (kind()) {
        case Kind::Real:
            return std::get<double>(data_);
        case Kind::Text: {
            const std::string& s = std::get<std::string>(data_);
            double v = 0;
            auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
            return (ec == std::errc() && p == s.data() + s.size()) ? v : 0.0;
        }
        default:
            return static_cast<double>(AsInteger());
    }
}

std::string Value::AsText() const {
    switch (kind()) {
        case Kind::Null:
            return {};
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(data_));
        case Kind::Real: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.15g", std::get<double>(data_));
            return buf;
        }
        case Kind::Text:
            return std::get<std::string>(data_);
    }
    return {};
}

}  // namespace storage
