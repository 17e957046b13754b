#pragma once

#include "DateTime.h"

namespace vorlu::data {

class Query;

inline constexpr const char* kServerClockStatement =
    "SELECT CAST('NOW' AS TIMESTAMP) AS DATA_ATUAL FROM RDB$DATABASE";

// Runs the server-clock statement on the query and returns the server's current date and
// time. The result is left open.
DateTime readServerClock(Query& query);

} // namespace vorlu::data
