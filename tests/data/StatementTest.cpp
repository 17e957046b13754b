#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorlu::data;
using vorlu::testing::TempDatabase;

namespace {

class Statements : public ::testing::Test {
protected:
    void SetUp() override { connection.setDatabaseName(db.location()); }

    void insertPatients(int count)
    {
        query.setSql({"INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (:C, :N)"});
        for (int code = 1; code <= count; ++code) {
            char name[16];
            std::snprintf(name, sizeof name, "P%06d", code);
            query.paramByName("C").setAsInteger(code);
            query.paramByName("N").setAsString(name);
            query.execSql(); // prepared once, run again with new values
        }
    }

    TempDatabase db;
    Connection connection;
    Transaction transaction{connection};
    Query query{connection, transaction};
};

} // namespace

TEST_F(Statements, LinesAreJoinedWithCarriageReturnLineFeedAfterEach)
{
    query.addSql("SELECT PAC_COD__");
    query.addSql("FROM PACIENTES");
    EXPECT_EQ(query.statementText(), "SELECT PAC_COD__\r\nFROM PACIENTES\r\n");
    // A line break is the only separator: these two lines make one word.
    query.setSql({"SELECT PAC_COD__ FROM PACIENTES WHERE PAC_COD__ = 1", "AND PAC_COD__ = 1"});
    EXPECT_NO_THROW(query.open());
}

TEST_F(Statements, ParameterNamesAreReadOutsideQuotedText)
{
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {{"SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;"}, {"PAC_COD__"}},
        {{"SELECT ':NAO' AS A FROM PACIENTES WHERE PAC_NOM__ = :NOME AND PAC_COD__ = :COD"}, {"NOME", "COD"}},
        {{"SELECT 'it''s :X' AS A FROM PACIENTES WHERE PAC_COD__ = :A OR PAC_COD__ = :A"}, {"A"}},
        {{"SELECT PAC_COD__ AS \":Q\" FROM PACIENTES -- :COMENTARIO", "WHERE PAC_COD__ = :B"}, {"B"}},
        {{"SELECT PAC_COD__ FROM PACIENTES"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        query.setSql(c.lines);
        std::vector<std::string> names;
        for (const auto& param : query.params())
            names.push_back(param->name());
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(Statements, TheSameNameTwiceIsOneParameterBoundAtBothPlaces)
{
    insertPatients(3);
    query.setSql({"SELECT COUNT(*) AS N FROM PACIENTES WHERE PAC_COD__ = :C OR PAC_COD__ = :C + 1"});
    query.paramByName("C").setAsInteger(2);
    query.open();
    EXPECT_EQ(query.fieldByName("N").asInteger(), 2);
}

TEST_F(Statements, ChangingTheTextClosesAndUnprepares)
{
    insertPatients(2);
    query.setSql({"SELECT PAC_COD__ FROM PACIENTES WHERE PAC_COD__ = :C"});
    query.paramByName("C").setAsInteger(1);
    query.open();
    ASSERT_TRUE(query.active());
    query.addSql("OR PAC_COD__ = :D");
    EXPECT_FALSE(query.active());
    EXPECT_FALSE(query.prepared());
    EXPECT_TRUE(query.paramByName("C").isNull()) << "a new text has new parameters";
    EXPECT_NO_THROW(query.paramByName("D"));
    query.clearSql();
    EXPECT_TRUE(query.sql().empty());
    EXPECT_THROW(query.open(), DataError);
}

TEST_F(Statements, RowsAreFetchedAsTheyAreReadNeverAllAtOnce)
{
    insertPatients(2500);
    query.setSql({"SELECT PAC_COD__, PAC_NOM__ FROM PACIENTES ORDER BY PAC_NOM__"});
    query.open();
    EXPECT_EQ(query.recordCount(), 1u) << "standing on the first row";
    EXPECT_FALSE(query.isEmpty());
    int expected = 1;
    while (!query.eof()) {
        ASSERT_EQ(query.fieldByName("PAC_COD__").asInteger(), expected);
        ASSERT_EQ(query.recordCount(), static_cast<std::uint64_t>(expected)) << "the rows fetched so far";
        query.next();
        if (!query.eof())
            ++expected;
    }
    EXPECT_EQ(expected, 2500) << "across two full blocks of the buffer";
    EXPECT_EQ(query.recordCount(), 2500u);
    EXPECT_EQ(query.fieldByName("PAC_COD__").asInteger(), 2500) << "the last row stays current at the end";
}

TEST_F(Statements, EmptyResultsAndClosedQueriesAreEmpty)
{
    EXPECT_TRUE(query.isEmpty()) << "closed";
    EXPECT_TRUE(query.eof());
    query.setSql({"SELECT * FROM PACIENTES WHERE PAC_COD__ = 0;"});
    bool afterOpenRan = false;
    query.afterOpen = [&] { afterOpenRan = true; };
    query.open();
    EXPECT_TRUE(afterOpenRan);
    EXPECT_TRUE(query.active());
    EXPECT_TRUE(query.isEmpty());
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recordCount(), 0u);
}

TEST_F(Statements, AFailingStatementLeavesEarlierWorkPending)
{
    insertPatients(1);
    query.setSql({"INSERT INTO PACIENTES (PAC_COD__) VALUES (1)"});
    try {
        query.execSql();
        FAIL();
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.hasGdsCode(gds::uniqueKeyViolation)) << error.what();
        EXPECT_NE(std::string(error.what()).find("violation of PRIMARY or UNIQUE KEY constraint"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find('\n'), std::string::npos) << "message lines joined by line breaks";
    }
    EXPECT_TRUE(transaction.active());
    query.setSql({"SELECT COUNT(*) AS N FROM PACIENTES"});
    query.open();
    EXPECT_EQ(query.fieldByName("N").asInteger(), 1);
}

TEST_F(Statements, ExecutionCountsTheRowsItChanged)
{
    insertPatients(3);
    struct Case {
        const char* sql;
        std::uint64_t rows;
    };
    const Case cases[] = {
        {"UPDATE PACIENTES SET PAC_NOM__ = 'X' WHERE PAC_COD__ = 2", 1},
        {"UPDATE PACIENTES SET PAC_NOM__ = 'X' WHERE PAC_COD__ = 99", 0},
        {"UPDATE PACIENTES SET PAC_NOM__ = 'Y'", 3},
        {"DELETE FROM PACIENTES WHERE PAC_COD__ > 1", 2},
        {"INSERT INTO PACIENTES (PAC_COD__) VALUES (50)", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        query.setSql({c.sql});
        query.execSql();
        EXPECT_EQ(query.rowsAffected(), c.rows);
    }
}

TEST_F(Statements, TextLongerThanItsColumnFailsAtTheServer)
{
    insertPatients(1);
    query.setSql({"UPDATE PACIENTES SET PAC_UF__ = :UF"});
    query.paramByName("UF").setAsString("SPX");
    try {
        query.execSql();
        FAIL();
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.hasGdsCode(gds::stringTruncation)) << error.what();
    }
}
