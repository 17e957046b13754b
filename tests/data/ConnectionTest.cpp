#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/ServerClock.h"
#include "data/Transaction.h"

#include <gtest/gtest.h>
#include <ibase.h>

#include <chrono>
#include <ctime>

using namespace vorlu::data;
using vorlu::testing::TempDatabase;

namespace {

// Counts the rows of PACIENTES from a connection of its own.
int countPatients(const std::string& location)
{
    Connection other;
    other.setDatabaseName(location);
    Transaction transaction(other);
    Query query(other, transaction);
    query.addSql("SELECT COUNT(*) AS N FROM PACIENTES");
    query.open();
    return query.fieldByName("N").asInteger();
}

} // namespace

TEST(ConnectionParameters, AttachWithTheProgramsUserAndPasswordOnly)
{
    const std::vector<std::uint8_t> expected = {
        isc_dpb_version1,
        isc_dpb_user_name, 6, 'X', 'M', 'X', 'E', 'R', 'W',
        isc_dpb_password, 9, 'q', 'u', 'i', 'l', 'l', 'f', 'e', 'r', 'n',
    };
    EXPECT_EQ(Connection::parameterBlock(), expected);
}

TEST(ConnectionParameters, TransactionIsReadCommittedRecVersionNowait)
{
    const std::vector<std::uint8_t> expected = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                                                isc_tpb_nowait};
    EXPECT_EQ(Transaction::parameterBlock(), expected);
}

TEST(ConnectionOpen, FailsWithTheClientLibrarysText)
{
    struct Case {
        const char* what;
        std::string location;
        const char* expectedFragment;
    };
    const TempDatabase folderOnly(3, false);
    const Case cases[] = {
        {"empty location", "", "I/O error"},
        {"missing file", (folderOnly.folder() / "missing.fdb").string(), "No such file or directory"},
        {"unreachable server", "127.0.0.1/1:/nowhere.fdb", "Unable to complete network request"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Connection connection;
        connection.setDatabaseName(c.location);
        try {
            connection.open();
            FAIL() << "opened " << c.location;
        } catch (const DatabaseError& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find(c.expectedFragment), std::string::npos) << text;
            EXPECT_NE(text.back(), '.') << "one final full stop is removed: " << text;
            EXPECT_NE(error.gdsCode(), 0);
        }
        EXPECT_FALSE(connection.connected());
    }
}

TEST(ConnectionOpen, RenamingWhileConnectedFailsAndClosingTwiceIsHarmless)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    connection.setConnected(true);
    EXPECT_TRUE(connection.connected());
    EXPECT_THROW(connection.setDatabaseName(db.location() + "x"), DataError);
    EXPECT_NO_THROW(connection.setDatabaseName(db.location()));
    connection.setConnected(false);
    connection.setConnected(false);
    EXPECT_FALSE(connection.connected());
    EXPECT_NO_THROW(connection.setDatabaseName(db.location() + "x"));
}

TEST(ConnectionOpen, DialectOneDatabaseIsAcceptedAndWorkedInDialectOne)
{
    TempDatabase db(1);
    Connection connection;
    connection.setDatabaseName(db.location());
    connection.open();
    EXPECT_EQ(connection.databaseDialect(), 1);
    EXPECT_EQ(connection.dialect(), 1);

    Transaction transaction(connection);
    Query query(connection, transaction);
    // Double quotes are string delimiters in dialect 1 only.
    query.addSql("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, \"ANA\")");
    query.execSql();
    query.setSql({"SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;"});
    query.paramByName("PAC_COD__").setAsInteger(1);
    query.open();
    EXPECT_EQ(query.fieldByName("PAC_NOM__").asString(), "ANA");
    EXPECT_GT(query.fieldByName("PAC_INC__").asDateTime(), 40000); // the inclusion default
}

TEST(ImplicitStart, FirstStatementConnectsAndStartsTheTransaction)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    Transaction transaction(connection);
    Query query(connection, transaction);
    query.addSql("SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;");
    EXPECT_FALSE(connection.connected());
    query.paramByName("PAC_COD__"); // a parameter lookup prepares
    EXPECT_TRUE(connection.connected());
    EXPECT_TRUE(transaction.active());
    EXPECT_TRUE(query.prepared());
}

TEST(ImplicitEnd, TransactionStillActiveAtDestructionOrDisconnectIsRolledBack)
{
    TempDatabase db;
    for (const bool disconnectFirst : {false, true}) {
        SCOPED_TRACE(disconnectFirst ? "disconnect" : "destruction");
        {
            Connection connection;
            connection.setDatabaseName(db.location());
            Transaction transaction(connection);
            Query query(connection, transaction);
            query.addSql("INSERT INTO PACIENTES (PAC_COD__) VALUES (7)");
            query.execSql();
            EXPECT_TRUE(transaction.active());
            if (disconnectFirst) {
                connection.close();
                EXPECT_FALSE(transaction.active());
            }
        }
        EXPECT_EQ(countPatients(db.location()), 0);
    }
}

TEST(TransactionEnd, CommitAndRollbackCloseResultsAndFreeStatements)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    Transaction transaction(connection);
    Query reader(connection, transaction);
    Query writer(connection, transaction);
    writer.addSql("INSERT INTO PACIENTES (PAC_COD__) VALUES (1)");
    writer.execSql();
    reader.addSql("SELECT PAC_COD__ FROM PACIENTES");

    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit ? "commit" : "rollback");
        reader.open();
        ASSERT_TRUE(reader.active());
        commit ? transaction.commit() : transaction.rollback();
        EXPECT_FALSE(transaction.active());
        EXPECT_FALSE(reader.active());
        EXPECT_FALSE(reader.prepared());
        EXPECT_FALSE(writer.prepared());
        EXPECT_TRUE(reader.isEmpty());
        EXPECT_EQ(reader.fieldByName("PAC_COD__").asInteger(), 0) << "a closed result reads as NULL";
        EXPECT_THROW(commit ? transaction.commit() : transaction.rollback(), DataError) << "nothing to end";
    }
    EXPECT_EQ(countPatients(db.location()), 1);
}

TEST(ServerClock, ReadsTheServersTimestampWithItsTimeOfDay)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    Transaction transaction(connection);
    Query query(connection, transaction);
    const DateTime now = readServerClock(query);
    // The workstation's clock, as days since 30 December 1899 in local time.
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const double localDays = (t + local.tm_gmtoff) / 86400.0 + 25569.0;
    EXPECT_NEAR(now, localDays, 1.0 / 24 / 60) << "within a minute";
    EXPECT_NE(now, static_cast<double>(static_cast<long long>(now))) << "keeps the time of day";
    EXPECT_TRUE(query.active()) << "the result is left open";
}
