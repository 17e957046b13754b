#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
}

namespace vorlu::data {

class Transaction;

// The database connection (BancoDeDados, and the location dialog's BD). It always attaches
// with the program's fixed credentials, no character set and no role, and never asks for a
// login. It works in SQL dialect 3, or silently in the database's own lower dialect.
// Its transactions and statements refer to it: declare them after it, so they go first.
class Connection {
public:
    static constexpr int kSqlDialect = 3;

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The location, handed unchanged to the client library ("path", "host:path", "host/port:path").
    // Changing it while connected fails.
    void setDatabaseName(const std::string& location);
    const std::string& databaseName() const { return databaseName_; }

    bool connected() const;
    void setConnected(bool value);

    // Attaches. Fails with the client library's text when the location is empty or wrong,
    // the server does not answer or the credentials are refused.
    void open();
    // Rolls back every transaction still active on it, then detaches. Does nothing when not
    // connected; a connection the server dropped is forgotten without an error.
    void close();

    // The dialect statements are prepared in: 3, or the database's own when lower.
    int dialect() const { return dialect_; }
    int databaseDialect() const { return databaseDialect_; }

    void setDefaultTransaction(Transaction* transaction) { defaultTransaction_ = transaction; }
    Transaction* defaultTransaction() const { return defaultTransaction_; }

    // The database parameter block sent on attach.
    static std::vector<std::uint8_t> parameterBlock();

    // Creates a new, empty database (character set WIN1252) owned by the program's user.
    // Used by the database tool and the tests; the program itself never creates one.
    static void createDatabase(const std::string& location, int dialect = kSqlDialect, int pageSize = 8192);

    Firebird::IAttachment* attachment() const;

private:
    friend class Transaction;
    void addTransaction(Transaction* transaction);
    void removeTransaction(Transaction* transaction);

    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string databaseName_;
    int dialect_ = kSqlDialect;
    int databaseDialect_ = kSqlDialect;
    Transaction* defaultTransaction_ = nullptr;
    std::vector<Transaction*> transactions_;
};

// Ends the client library's work at the end of the program: closes what is still attached and
// stops the embedded engine's threads, so that everything is on disk before the process goes.
void shutdownDatabaseClient();

} // namespace vorlu::data
