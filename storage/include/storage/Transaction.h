#pragma once
// A transaction that rolls back unless committed: for bulk writes (imports,
// emptying a table) that must land whole or not at all.

#include "storage/Connection.h"

namespace storage {

class Transaction {
public:
    explicit Transaction(Connection& connection) : connection_(connection) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Status Begin();
    Status Commit();

private:
    Connection& connection_;
    bool open_ = false;
};

}  // namespace storage
