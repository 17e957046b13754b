// Fetch throughput of the statement component against a bare loop over the Firebird API, and
// the time and memory to the first chunk of an ordered statement over a large table.

#include "BareFirebird.h"
#include "BenchSupport.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace vorlu;
using bench::Clock;

namespace {

constexpr const char* kOrdered = "SELECT PAC_COD__, PAC_NOM__ FROM PACIENTES ORDER BY PAC_NOM__";
constexpr unsigned kRows = 100000;
constexpr int kRepeats = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Reads the first kRows rows through the statement component, as the program reads them.
double viaQuery(const std::string& location, unsigned long long& checksum)
{
    data::Connection connection;
    connection.setDatabaseName(location);
    connection.open();
    data::Transaction transaction(connection);
    data::Query query(connection, transaction);
    query.addSql(kOrdered);
    const auto start = Clock::now();
    query.open();
    data::Field& code = query.fieldByName("PAC_COD__");
    data::Field& name = query.fieldByName("PAC_NOM__");
    for (unsigned i = 0; i < kRows && !query.eof(); ++i, query.next()) {
        checksum += static_cast<unsigned>(code.asInteger());
        checksum += name.asString().empty() ? 1 : 0;
    }
    return bench::millisecondsSince(start);
}

// The same with nothing between the program and the client library: one message buffer,
// the name copied out as raw bytes.
double viaBareApi(const std::string& location, unsigned long long& checksum)
{
    using namespace Firebird;
    bench::BareSession session(location);
    auto& status = session.status();
    IAttachment* attachment = session.attachment();
    ITransaction* transaction = session.transaction();

    const auto start = Clock::now();
    IStatement* statement = attachment->prepare(&status, transaction, 0, kOrdered, 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = statement->getOutputMetadata(&status);
    IResultSet* cursor = statement->openCursor(&status, transaction, nullptr, nullptr, meta, 0);
    std::vector<unsigned char> row(meta->getMessageLength(&status));
    const unsigned codeOffset = meta->getOffset(&status, 0), nameOffset = meta->getOffset(&status, 1);
    const unsigned nameNull = meta->getNullOffset(&status, 1);
    std::string name;
    for (unsigned i = 0; i < kRows && cursor->fetchNext(&status, row.data()) == IStatus::RESULT_OK; ++i) {
        int code;
        std::memcpy(&code, row.data() + codeOffset, sizeof code);
        short isNull;
        std::memcpy(&isNull, row.data() + nameNull, sizeof isNull);
        unsigned short length = 0;
        if (!isNull)
            std::memcpy(&length, row.data() + nameOffset, sizeof length);
        name.assign(reinterpret_cast<const char*>(row.data() + nameOffset + 2), length);
        checksum += static_cast<unsigned>(code) + (name.empty() ? 1 : 0);
    }
    const double elapsed = bench::millisecondsSince(start);
    cursor->close(&status);
    meta->release();
    statement->free(&status);
    return elapsed;
}

} // namespace

int main()
{
    const std::string location = bench::benchDatabase(1000000);

    // Keeps the database open, so the engine's page cache is not made anew for every opening
    // and the memory figure is what the statement itself takes.
    data::Connection keeper;
    keeper.setDatabaseName(location);
    keeper.open();

    // Time and memory to the first chunk, on a fresh connection each time.
    std::vector<double> firstChunk;
    std::vector<double> growthKb;
    for (int r = 0; r < kRepeats; ++r) {
        data::Connection connection;
        connection.setDatabaseName(location);
        connection.open();
        data::Transaction transaction(connection);
        data::Query query(connection, transaction);
        query.addSql(kOrdered);
        const long before = bench::residentKilobytes();
        const auto start = Clock::now();
        query.open(); // stands on the first row
        while (query.recordCount() < data::Query::kBufferChunks && !query.eof())
            query.next();
        firstChunk.push_back(bench::millisecondsSince(start));
        if (query.recordCount() != data::Query::kBufferChunks)
            return 1;
        growthKb.push_back(static_cast<double>(bench::residentKilobytes() - before));
    }

    unsigned long long ours = 0, bare = 0;
    std::vector<double> oursMs, bareMs;
    unsigned long long warm = 0;
    viaQuery(location, warm); // warm the page cache once
    for (int r = 0; r < kRepeats; ++r) {
        oursMs.push_back(viaQuery(location, ours));
        bareMs.push_back(viaBareApi(location, bare));
    }
    if (ours != bare)
        return 2; // both must have read the same rows

    const double oursRate = kRows / (median(oursMs) / 1000.0);
    const double bareRate = kRows / (median(bareMs) / 1000.0);
    bench::printFigure("table_rows", 1000000, "rows");
    bench::printFigure("first_chunk_ms", median(firstChunk), "ms");
    bench::printFigure("first_chunk_memory_growth", median(growthKb), "KiB");
    bench::printFigure("query_rows_per_second", oursRate, "rows/s");
    bench::printFigure("bare_rows_per_second", bareRate, "rows/s");
    bench::printFigure("ratio", bareRate / oursRate, "");
    return 0;
}
