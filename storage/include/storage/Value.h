#pragma once
// One field value as the record sets hand it over. Dates travel as the
// stored local-time text "YYYY-MM-DD HH:MM:SS" (see DateTimeText.h).

#include <cstdint>
#include <string>
#include <variant>

namespace storage {

class Value {
public:
    enum class Kind { Null, Integer, Real, Text };

    Value() = default;
    Value(std::int64_t v) : data_(v) {}
    Value(int v) : data_(static_cast<std::int64_t>(v)) {}
    Value(long long v) : data_(static_cast<std::int64_t>(v)) {}
    Value(bool v) : data_(static_cast<std::int64_t>(v ? 1 : 0)) {}
    Value(double v) : data_(v) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(const char* v) : data_(std::string(v)) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool IsNull() const { return kind() == Kind::Null; }

    // Conversions in the lenient way of the data-access objects: Null is 0 or
    // empty, a text that is no whole number is 0.
    std::int64_t AsInteger() const;
    double AsReal() const;
    std::string AsText() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> data_;
};

}  // namespace storage
