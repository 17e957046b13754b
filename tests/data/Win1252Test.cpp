#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "data/Win1252.h"

#include <gtest/gtest.h>

using namespace vorlu::data;
using vorlu::testing::TempDatabase;

namespace {

// The stored bytes of PAC_NOM__ of patient 1, read one by one by the server itself.
std::vector<int> storedBytes(const std::string& location)
{
    Connection other;
    other.setDatabaseName(location);
    Transaction transaction(other);
    Query query(other, transaction);
    query.addSql("SELECT OCTET_LENGTH(PAC_NOM__) AS N FROM PACIENTES WHERE PAC_COD__ = 1");
    query.open();
    const int length = query.fieldByName("N").asInteger();
    std::vector<int> bytes;
    for (int i = 1; i <= length; ++i) {
        query.setSql({"SELECT ASCII_VAL(SUBSTRING(PAC_NOM__ FROM " + std::to_string(i) +
                      " FOR 1)) AS B FROM PACIENTES WHERE PAC_COD__ = 1"});
        query.open();
        bytes.push_back(query.fieldByName("B").asInteger());
    }
    return bytes;
}

} // namespace

TEST(Win1252, AccentedTextIsStoredAsSingleBytesAndReadBackUnchanged)
{
    struct Case {
        const char* utf8;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        {"ASIÁTICO", {'A', 'S', 'I', 0xC1, 'T', 'I', 'C', 'O'}},
        {"JOÃO", {'J', 'O', 0xC3, 'O'}},
        {"CONCEIÇÃO", {'C', 'O', 'N', 'C', 'E', 'I', 0xC7, 0xC3, 'O'}},
        {"Nº 5", {'N', 0xBA, ' ', '5'}},
        {"€ – “x”", {0x80, ' ', 0x96, ' ', 0x93, 'x', 0x94}},
    };
    TempDatabase db;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        {
            Connection connection;
            connection.setDatabaseName(db.location());
            Transaction transaction(connection);
            Query query(connection, transaction);
            query.addSql("UPDATE OR INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, :NOME)");
            query.paramByName("NOME").setAsString(c.utf8);
            query.execSql();
            transaction.commit();
        }
        EXPECT_EQ(storedBytes(db.location()), c.bytes);

        Connection reader;
        reader.setDatabaseName(db.location());
        Transaction transaction(reader);
        Query query(reader, transaction);
        query.addSql("SELECT PAC_NOM__ FROM PACIENTES WHERE PAC_COD__ = 1");
        query.open();
        EXPECT_EQ(query.fieldByName("PAC_NOM__").asString(), c.utf8);
    }
}

TEST(Win1252, SplicedTextTravelsTheSameWay)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    Transaction transaction(connection);
    Query query(connection, transaction);
    query.addSql("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, 'ASIÁTICO')");
    query.execSql();
    transaction.commit();
    EXPECT_EQ(storedBytes(db.location()), (std::vector<int>{'A', 'S', 'I', 0xC1, 'T', 'I', 'C', 'O'}));
}

TEST(Win1252, ACharacterItCannotHoldIsRefusedBeforeAnythingIsSent)
{
    TempDatabase db;
    Connection connection;
    connection.setDatabaseName(db.location());
    Transaction transaction(connection);
    Query query(connection, transaction);
    for (const char* text : {"ŁUKASZ", "ANA 😀", "\xC3"}) {
        SCOPED_TRACE(text);
        query.setSql({"INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (1, :NOME)"});
        query.paramByName("NOME").setAsString(text);
        EXPECT_THROW(query.execSql(), DataError);
    }
    try {
        toWin1252("ŁUKASZ");
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "O caractere \"Ł\" não pode ser gravado no Banco de Dados; apague-o ou troque-o por outro");
    }
    query.setSql({"SELECT COUNT(*) AS N FROM PACIENTES"});
    query.open();
    EXPECT_EQ(query.fieldByName("N").asInteger(), 0);
}

TEST(Win1252, EveryByteReadsBackAsTheSameByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = fromWin1252(all);
    std::string back;
    // The undefined bytes come back as C1 controls, which are not Windows-1252 text.
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::string one = utf8.substr(i, n);
        if (one.size() == 2 && static_cast<unsigned char>(one[0]) == 0xC2 && static_cast<unsigned char>(one[1]) < 0xA0 &&
            static_cast<unsigned char>(one[1]) >= 0x80)
            back += one[1];
        else
            back += toWin1252(one);
        i += n;
    }
    EXPECT_EQ(back, all);
}
