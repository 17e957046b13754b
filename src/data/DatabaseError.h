#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlu::data {

// A failure reported by the database client library or the server. The text is the one the
// user sees; the codes let callers tell, say, a lock conflict from a unique-key violation.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(std::string text, std::vector<std::intptr_t> gdsCodes, int sqlCode);

    // The first Firebird error code of the status (isc_... / gds code), 0 when there is none.
    std::intptr_t gdsCode() const { return gdsCodes_.empty() ? 0 : gdsCodes_.front(); }
    const std::vector<std::intptr_t>& gdsCodes() const { return gdsCodes_; }
    bool hasGdsCode(std::intptr_t code) const;
    int sqlCode() const { return sqlCode_; }

private:
    std::vector<std::intptr_t> gdsCodes_;
    int sqlCode_;
};

// A failure of our own data layer: a field or parameter that does not exist, a value that
// cannot be converted, a text that Windows-1252 cannot hold. Nothing reached the server.
class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Firebird error codes the program and its tests need to tell apart.
namespace gds {
inline constexpr std::intptr_t lockConflict = 335544345;      // isc_lock_conflict
inline constexpr std::intptr_t deadlock = 335544336;          // isc_deadlock
inline constexpr std::intptr_t uniqueKeyViolation = 335544665; // isc_unique_key_violation
inline constexpr std::intptr_t notNullViolation = 335544347;  // isc_not_valid
inline constexpr std::intptr_t stringTruncation = 335544914;  // isc_string_truncation
inline constexpr std::intptr_t networkError = 335544721;      // isc_network_error
inline constexpr std::intptr_t connectionLost = 335544741;    // isc_lost_db_connection
inline constexpr std::intptr_t shutdown = 335544528;          // isc_shutdown
}

} // namespace vorlu::data
