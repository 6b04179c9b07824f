#include "storage/Transaction.h"

namespace storage {

Transaction::~Transaction() {
    if (open_)
        connection_.Rollback();
}

Status Transaction::Begin() {
    Status s = connection_.Begin();
    open_ = s.ok();
    return s;
}

Status Transaction::Commit() {
    if (!open_)
        return Status(ErrorCode::InvalidArgument, "no transaction to commit");
    Status s = connection_.Commit();
    if (s.ok())
        open_ = false;
    return s;
}

}  // namespace storage
