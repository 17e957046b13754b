#pragma once

// The baseline of the benchmarks: the client library with nothing of ours in between.

#include <firebird/Interface.h>

#include <string>

namespace vorlu::bench {

// One attachment with the program's credentials and transaction parameters, ended (rolled
// back and detached) with the object.
class BareSession {
public:
    explicit BareSession(const std::string& location);
    ~BareSession();
    BareSession(const BareSession&) = delete;
    BareSession& operator=(const BareSession&) = delete;

    Firebird::ThrowStatusWrapper& status() { return status_; }
    Firebird::IAttachment* attachment() const { return attachment_; }
    Firebird::ITransaction* transaction() const { return transaction_; }

private:
    Firebird::IMaster* master_;
    Firebird::ThrowStatusWrapper status_;
    Firebird::IProvider* provider_ = nullptr;
    Firebird::IAttachment* attachment_ = nullptr;
    Firebird::ITransaction* transaction_ = nullptr;
};

} // namespace vorlu::bench
