#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace vorlu::data;
using vorlu::testing::ServerDatabase;

namespace {

// One workstation: its own connection, transaction and statement on the shared database.
struct Workstation {
    explicit Workstation(const std::string& location)
    {
        connection.setDatabaseName(location);
        connection.open();
    }
    void exec(const std::string& sql)
    {
        query.setSql({sql});
        query.execSql();
    }
    std::string nameOf(int code)
    {
        query.setSql({"SELECT PAC_NOM__ FROM PACIENTES WHERE PAC_COD__ = " + std::to_string(code)});
        query.open();
        return query.isEmpty() ? "<none>" : query.fieldByName("PAC_NOM__").asString();
    }
    Connection connection;
    Transaction transaction{connection};
    Query query{connection, transaction};
};

class TwoWorkstations : public ::testing::Test {
protected:
    void SetUp() override
    {
        VORLU_REQUIRE_TEST_SERVER();
        db = std::make_unique<ServerDatabase>();
        first = std::make_unique<Workstation>(db->location());
        second = std::make_unique<Workstation>(db->location());
    }
    void TearDown() override
    {
        first.reset();
        second.reset();
        db.reset();
    }
    std::unique_ptr<ServerDatabase> db;
    std::unique_ptr<Workstation> first, second;
};

} // namespace

TEST_F(TwoWorkstations, ACommittedRowIsSeenAtOnceAPendingOneIsNot)
{
    second->nameOf(1); // the reader's transaction is already running
    first->exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, 'ANA')");
    EXPECT_EQ(second->nameOf(1), "<none>") << "pending";
    first->transaction.commit();
    EXPECT_EQ(second->nameOf(1), "ANA") << "read committed: visible without a new transaction";
}

TEST_F(TwoWorkstations, TheSameKeyFromBothFailsAtOnceAndTheFirstLosesNothing)
{
    first->exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (5, 'PRIMEIRO')");
    const auto start = std::chrono::steady_clock::now();
    try {
        second->exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (5, 'SEGUNDO')");
        FAIL() << "the second insert went through";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.hasGdsCode(gds::uniqueKeyViolation)) << error.what();
        EXPECT_NE(std::string(error.what()).find("violation of PRIMARY or UNIQUE KEY constraint"), std::string::npos);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "no waiting";
    EXPECT_TRUE(second->transaction.active());
    first->transaction.commit();
    EXPECT_EQ(second->nameOf(5), "PRIMEIRO");
}

TEST_F(TwoWorkstations, AnUpdateOfARowTheOtherHoldsFailsWithALockConflict)
{
    first->exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (3, 'ANA')");
    first->transaction.commit();
    first->exec("UPDATE PACIENTES SET PAC_NOM__ = 'ANA MARIA' WHERE PAC_COD__ = 3");
    try {
        second->exec("UPDATE PACIENTES SET PAC_NOM__ = 'OUTRA' WHERE PAC_COD__ = 3");
        FAIL();
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.hasGdsCode(gds::lockConflict) || error.hasGdsCode(gds::deadlock)) << error.what();
    }
    first->transaction.commit();
    EXPECT_EQ(second->nameOf(3), "ANA MARIA");
}

TEST(VanishingServer, AFailedCommitLeavesTheTransactionActiveAndTheCommittedDataIntact)
{
    VORLU_REQUIRE_TEST_SERVER();
    vorlu::testing::PrivateServer server;
    const std::string location = server.createDatabase();
    {
        Workstation workstation(location);
        workstation.exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, 'SALVO')");
        workstation.transaction.commit();
        workstation.exec("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (2, 'PENDENTE')");

        server.kill();
        try {
            workstation.transaction.commit();
            FAIL() << "the commit reached a dead server";
        } catch (const DatabaseError& error) {
            EXPECT_NE(error.gdsCode(), 0) << error.what();
        }
        EXPECT_TRUE(workstation.transaction.active()) << "a failing commit leaves the transaction active";
        EXPECT_THROW(workstation.nameOf(1), DatabaseError);
        EXPECT_NO_THROW(workstation.connection.close()) << "a dropped connection is forgotten";
        EXPECT_FALSE(workstation.connection.connected());
    }
    server.restart();
    Workstation after(location);
    EXPECT_EQ(after.nameOf(1), "SALVO");
    EXPECT_EQ(after.nameOf(2), "<none>") << "the pending row died with the connection";
}
