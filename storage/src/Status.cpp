#include "storage/Status.h"

namespace storage {

const char* ErrorCodeName(ErrorCode code) {
    switch (code) {
        case ErrorCode::None:
            return "ok";
        case ErrorCode::InvalidFilter:
            return "invalid filter";
        case ErrorCode::UnknownField:
            return "unknown field";
        case ErrorCode::InvalidValue:
            return "invalid value";
        case ErrorCode::InvalidArgument:
            return "invalid argument";
        case ErrorCode::NotOpen:
            return "not open";
        case ErrorCode::NoCurrentRecord:
            return "no current record";
        case ErrorCode::NotEditing:
            return "not editing";
        case ErrorCode::ReadOnly:
            return "read-only";
        case ErrorCode::Busy:
            return "database locked";
        case ErrorCode::DiskFull:
            return "disk full";
        case ErrorCode::Damaged:
            return "damaged database";
        case ErrorCode::Incompatible:
            return "incompatible database";
        case ErrorCode::Io:
            return "input/output error";
        case ErrorCode::Engine:
            return "database error";
        case ErrorCode::Cancelled:
            return "cancelled";
    }
    return "error";
}

std::string Status::ToString() const {
    if (ok())
        return "ok";
    if (error_.message.empty())
        return ErrorCodeName(error_.code);
    return std::string(ErrorCodeName(error_.code)) + ": " + error_.message;
}

}  // namespace storage
