#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace Firebird {
class ITransaction;
}

namespace vorlu::data {

class Connection;
class Query;

// The single transaction (Transacao): read committed on the latest committed version of a row,
// no waiting on lock conflicts. It is never ended implicitly: only commit(), rollback(), or
// the rollback of a transaction still active when its connection closes or it is destroyed.
class Transaction {
public:
    explicit Transaction(Connection& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Connection& database() const { return database_; }
    bool active() const;

    // Starts the transaction, connecting first if needed. Statements do this on their own.
    void start();
    // Both close every open result and free every prepared statement on the transaction first,
    // then end it. A failing commit or rollback leaves the transaction active.
    void commit();
    void rollback();

    // The transaction parameter block: version 3, read_committed, rec_version, nowait.
    static std::vector<std::uint8_t> parameterBlock();

    Firebird::ITransaction* handle() const;

private:
    friend class Query;
    friend class Connection;
    void addQuery(Query* query);
    void removeQuery(Query* query);
    void releaseStatements();
    // Called by the connection when it closes or the server is gone.
    void rollbackForClose();

    struct Handle;
    Connection& database_;
    std::unique_ptr<Handle> handle_;
    std::vector<Query*> queries_;
};

} // namespace vorlu::data
