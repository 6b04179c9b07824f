#pragma once
// A value or the error that prevented it.

#include <cassert>
#include <optional>
#include <utility>

#include "storage/Status.h"

namespace storage {

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status status) : status_(std::move(status)) {
        if (status_.ok())
            status_ = Status(ErrorCode::Engine, "result without a value");
    }
    Result(Error error) : Result(Status(std::move(error))) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Status& status() const { return status_; }

    // Only when ok().
    T& value() & {
        assert(ok());
        return *value_;
    }
    const T& value() const& {
        assert(ok());
        return *value_;
    }
    T&& value() && {
        assert(ok());
        return std::move(*value_);
    }
    T value_or(T fallback) const { return ok() ? *value_ : std::move(fallback); }

private:
    std::optional<T> value_;
    Status status_;
};

}  // namespace storage
