#include "Connection.h"

#include "FirebirdApi.h"
#include "Transaction.h"

#include <algorithm>

namespace vorlu::data {
namespace {

// The program's own database user. Every workstation attaches as this user.
constexpr const char* kUserName = "XMXERW";
constexpr const char* kPassword = "quillfern";

std::vector<std::uint8_t> buildBlock(Firebird::IXpbBuilder* builder)
{
    fb::Status status;
    const auto* buffer = builder->getBuffer(&status);
    const unsigned length = builder->getBufferLength(&status);
    status.check();
    return {buffer, buffer + length};
}

fb::Ref<Firebird::IXpbBuilder> newDpb(fb::Status& status)
{
    fb::Ref<Firebird::IXpbBuilder> dpb(fb::util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
    status.check();
    dpb->insertString(&status, isc_dpb_user_name, kUserName);
    dpb->insertString(&status, isc_dpb_password, kPassword);
    status.check();
    return dpb;
}

int readDialect(Firebird::IAttachment* attachment)
{
    fb::Status status;
    const unsigned char items[] = {isc_info_db_sql_dialect, isc_info_end};
    unsigned char buffer[32] = {};
    attachment->getInfo(&status, sizeof items, items, sizeof buffer, buffer);
    status.check();
    if (buffer[0] != isc_info_db_sql_dialect)
        return 1; // Databases older than dialects answer nothing: they are dialect 1.
    const int length = buffer[1] | (buffer[2] << 8);
    int value = 0;
    for (int i = 0; i < length && i < 4; ++i)
        value |= buffer[3 + i] << (8 * i);
    return value;
}

} // namespace

struct Connection::Handle {
    fb::Ref<Firebird::IAttachment> attachment;
};

Connection::Connection() : handle_(std::make_unique<Handle>()) {}

Connection::~Connection()
{
    try {
        close(); // rolls back what is still active on it
    } catch (...) {
        // A destructor cannot report; the attachment is released with the handle in any case.
    }
}

void Connection::setDatabaseName(const std::string& location)
{
    if (location == databaseName_)
        return;
    if (connected())
        throw DataError("Não é possível alterar o nome do Banco de Dados com a conexão aberta");
    databaseName_ = location;
}

bool Connection::connected() const { return static_cast<bool>(handle_->attachment); }

void Connection::setConnected(bool value)
{
    if (value)
        open();
    else
        close();
}

std::vector<std::uint8_t> Connection::parameterBlock()
{
    fb::Status status;
    return buildBlock(newDpb(status).get());
}

void Connection::open()
{
    if (connected())
        return;
    fb::Status status;
    auto dpb = newDpb(status);
    fb::Ref<Firebird::IAttachment> attachment(fb::provider()->attachDatabase(
        &status, databaseName_.c_str(), dpb->getBufferLength(&status), dpb->getBuffer(&status)));
    status.check();
    databaseDialect_ = readDialect(attachment.get());
    dialect_ = std::min(kSqlDialect, databaseDialect_);
    handle_->attachment = std::move(attachment);
}

void Connection::close()
{
    if (!connected())
        return;
    for (Transaction* transaction : transactions_)
        transaction->rollbackForClose();
    fb::Status status;
    handle_->attachment->detach(&status);
    if (!status.failed())
        handle_->attachment.release(); // detach released it
    // When the server is gone the detach fails; the attachment is dropped all the same.
    handle_->attachment.reset();
}

Firebird::IAttachment* Connection::attachment() const { return handle_->attachment.get(); }

void Connection::createDatabase(const std::string& location, int dialect, int pageSize)
{
    fb::Status status;
    auto dpb = newDpb(status);
    dpb->insertInt(&status, isc_dpb_sql_dialect, dialect);
    dpb->insertInt(&status, isc_dpb_page_size, pageSize);
    dpb->insertString(&status, isc_dpb_set_db_charset, "WIN1252");
    status.check();
    fb::Ref<Firebird::IAttachment> attachment(fb::provider()->createDatabase(
        &status, location.c_str(), dpb->getBufferLength(&status), dpb->getBuffer(&status)));
    status.check();
    attachment->detach(&status);
    status.check();
    attachment.release();
}

void shutdownDatabaseClient()
{
    fb::Status status;
    fb::provider()->shutdown(&status, 0, fb_shutrsn_app_stopped);
}

void Connection::addTransaction(Transaction* transaction) { transactions_.push_back(transaction); }

void Connection::removeTransaction(Transaction* transaction)
{
    std::erase(transactions_, transaction);
    if (defaultTransaction_ == transaction)
        defaultTransaction_ = nullptr;
}

} // namespace vorlu::data
