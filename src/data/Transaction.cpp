#include "Transaction.h"

#include "Connection.h"
#include "FirebirdApi.h"
#include "Query.h"

#include <algorithm>

namespace vorlu::data {

struct Transaction::Handle {
    fb::Ref<Firebird::ITransaction> transaction;
};

Transaction::Transaction(Connection& database) : database_(database), handle_(std::make_unique<Handle>())
{
    database_.addTransaction(this);
    if (!database_.defaultTransaction())
        database_.setDefaultTransaction(this);
}

Transaction::~Transaction()
{
    rollbackForClose();
    // Queries that outlive their transaction must not reach back into it.
    for (Query* query : queries_)
        query->unprepare();
    database_.removeTransaction(this);
}

bool Transaction::active() const { return static_cast<bool>(handle_->transaction); }

Firebird::ITransaction* Transaction::handle() const { return handle_->transaction.get(); }

std::vector<std::uint8_t> Transaction::parameterBlock()
{
    fb::Status status;
    fb::Ref<Firebird::IXpbBuilder> tpb(fb::util()->getXpbBuilder(&status, Firebird::IXpbBuilder::TPB, nullptr, 0));
    status.check();
    // The builder writes the version byte (isc_tpb_version3) itself.
    tpb->insertTag(&status, isc_tpb_read_committed);
    tpb->insertTag(&status, isc_tpb_rec_version);
    tpb->insertTag(&status, isc_tpb_nowait);
    status.check();
    const auto* buffer = tpb->getBuffer(&status);
    return {buffer, buffer + tpb->getBufferLength(&status)};
}

void Transaction::start()
{
    if (active())
        return;
    if (!database_.connected())
        database_.open();
    const auto tpb = parameterBlock();
    fb::Status status;
    fb::Ref<Firebird::ITransaction> transaction(
        database_.attachment()->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()));
    status.check();
    handle_->transaction = std::move(transaction);
}

void Transaction::releaseStatements()
{
    for (Query* query : queries_) {
        query->close();
        query->unprepare();
    }
}

void Transaction::commit()
{
    if (!active())
        throw DataError("A transação não está ativa");
    releaseStatements();
    fb::Status status;
    handle_->transaction->commit(&status);
    status.check();
    handle_->transaction.release(); // a successful commit releases the interface
}

void Transaction::rollback()
{
    if (!active())
        throw DataError("A transação não está ativa");
    releaseStatements();
    fb::Status status;
    handle_->transaction->rollback(&status);
    status.check();
    handle_->transaction.release();
}

void Transaction::rollbackForClose()
{
    if (!active())
        return;
    releaseStatements();
    fb::Status status;
    handle_->transaction->rollback(&status);
    if (!status.failed())
        handle_->transaction.release();
    // A rollback the server cannot answer (it is gone) still ends the transaction here;
    // the server undoes it when it sees the connection drop.
    handle_->transaction.reset();
}

void Transaction::addQuery(Query* query) { queries_.push_back(query); }

void Transaction::removeQuery(Query* query) { std::erase(queries_, query); }

} // namespace vorlu::data
