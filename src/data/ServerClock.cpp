#include "ServerClock.h"

#include "Query.h"

namespace vorlu::data {

DateTime readServerClock(Query& query)
{
    query.close();
    query.clearSql();
    query.addSql(kServerClockStatement);
    query.open();
    return query.fieldByName("DATA_ATUAL").asDateTime();
}

} // namespace vorlu::data
