#pragma once
// Outcome of a storage operation. No exception leaves this layer: every
// operation that can fail returns a Status or a Result, and the caller
// decides what the user sees.

#include <string>
#include <utility>

namespace storage {

enum class ErrorCode {
    None = 0,
    InvalidFilter,    // the condition text could not be parsed
    UnknownField,     // a field name that the table does not have
    InvalidValue,     // a value out of the column's range, too long, or of the wrong kind
    InvalidArgument,  // a call the operation cannot carry out with these arguments
    NotOpen,          // the record set or connection is not open
    NoCurrentRecord,  // before the first or after the last record, or the record is gone
    NotEditing,       // Update without AddNew or Edit
    ReadOnly,         // the file or folder cannot be written
    Busy,             // another process holds the database locked
    DiskFull,
    Damaged,       // the file is no database, or it is corrupt
    Incompatible,  // a database whose tables this program cannot use; left unchanged
    Io,            // the operating system refused a read or write
    Engine,        // any other error reported by the database engine
    Cancelled,     // the caller stopped a long operation; nothing of it was kept
};

// The kind of error as a Korean text marked for the catalogs (context
// "storage"); Status::ToString says it in the user's language.
const char* ErrorCodeName(ErrorCode code);

struct Error {
    ErrorCode code = ErrorCode::None;
    std::string message;
};

class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}
    Status(ErrorCode code, std::string message) : error_{code, std::move(message)} {}

    static Status Ok() { return Status(); }

    bool ok() const { return error_.code == ErrorCode::None; }
    explicit operator bool() const { return ok(); }
    ErrorCode code() const { return error_.code; }
    const std::string& message() const { return error_.message; }
    const Error& error() const { return error_; }
    // "kind: message" in the user's language, for the status line and the tools.
    std::string ToString() const;

private:
    Error error_;
};

}  // namespace storage
