#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/FormatSettings.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Transaction.h"

#include <gtest/gtest.h>

using namespace vorlu::data;
using vorlu::testing::TempDatabase;

namespace {

class Conversions : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDecimalSeparator(',');
        connection.setDatabaseName(db.location());
    }
    void TearDown() override { setDecimalSeparator('.'); }

    // Inserts patient 1 with the columns given as spliced SQL values.
    void insert(const std::string& columns, const std::string& values)
    {
        query.setSql({"INSERT INTO PACIENTES (PAC_COD__" + (columns.empty() ? "" : ", " + columns) + ") VALUES (1" +
                      (values.empty() ? "" : ", " + values) + ")"});
        query.execSql();
    }
    Query& load(int code = 1)
    {
        query.setSql({"SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;"});
        query.paramByName("PAC_COD__").setAsInteger(code);
        query.open();
        return query;
    }
    // Runs a one-parameter update of patient 1 with `bind` setting the parameter.
    template <typename Bind>
    void update(const std::string& column, Bind bind)
    {
        query.setSql({"UPDATE PACIENTES SET " + column + " = :" + column, "WHERE PAC_COD__ = 1"});
        bind(query.paramByName(column));
        query.execSql();
    }
    // A raw read, from SQL, whether the column is NULL.
    bool isNullInDatabase(const std::string& column)
    {
        query.setSql({"SELECT IIF(" + column + " IS NULL, 1, 0) AS N FROM PACIENTES WHERE PAC_COD__ = 1"});
        query.open();
        return query.fieldByName("N").asInteger() == 1;
    }

    TempDatabase db;
    Connection connection;
    Transaction transaction{connection};
    Query query{connection, transaction};
};

} // namespace

TEST_F(Conversions, ColumnsReadAsText)
{
    struct Case {
        const char* column;
        const char* sqlValue;
        const char* text;
    };
    const Case cases[] = {
        {"PAC_PES__", "NULL", ""},
        {"PAC_PES__", "72", "72"},
        {"PAC_PES__", "72.5", "72,5"},
        {"PAC_PES__", "0.1", "0,1"},
        {"PAC_PES__", "-3.25", "-3,25"},
        {"PAC_PES__", "123456789012.5", "123456789012,5"},
        {"PAC_PES__", "1e20", "1E20"},
        {"PAC_PES__", "0.00001", "1E-5"},
        {"PAC_PES__", "0.3333333333333333", "0,333333333333333"},
        {"PAC_NOM__", "NULL", ""},
        {"PAC_NOM__", "'MARIA DA SILVA'", "MARIA DA SILVA"},
        {"PAC_NOM__", "''", ""},
        {"PAC_UF__", "'S'", "S "},
        {"PAC_OBS_C", "'uma nota'", "uma nota"},
        {"PAC_OBS_C", "NULL", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = " + c.sqlValue);
        insert(c.column, c.sqlValue);
        EXPECT_EQ(load().fieldByName(c.column).asString(), c.text);
        query.setSql({"DELETE FROM PACIENTES"});
        query.execSql();
    }
    insert("", "");
    EXPECT_EQ(load().fieldByName("PAC_COD__").asString(), "1") << "an integer as its digits";
}

TEST_F(Conversions, NullAndMissingRowsReadAsEmptyZeroAndNoBytes)
{
    insert("PAC_INC__", "'2024-03-01'");
    for (const int code : {1, 2}) {
        SCOPED_TRACE(code == 1 ? "NULL columns" : "no row");
        Query& q = load(code);
        EXPECT_EQ(q.isEmpty(), code == 2);
        EXPECT_EQ(q.fieldByName("PAC_NAS__").asDateTime(), 0);
        EXPECT_EQ(q.fieldByName("PAC_PES__").asString(), "");
        EXPECT_EQ(q.fieldByName("PAC_PES__").asInteger(), 0);
        EXPECT_EQ(q.fieldByName("PAC_NOM__").asString(), "");
        MemoryStream stream;
        stream.write("xy", 2);
        q.fieldByName("PAC_FOT__").saveToStream(stream);
        EXPECT_EQ(stream.size(), 2u) << "nothing written";
    }
    EXPECT_EQ(load(2).fieldByName("PAC_COD__").asString(), "") << "the code field reads empty";
    EXPECT_EQ(load(1).fieldByName("PAC_INC__").asDateTime(), 45352) << "1 March 2024";
}

TEST_F(Conversions, TextParametersFollowTheirColumn)
{
    insert("", "");
    struct Case {
        const char* column;
        const char* text;
        bool storedNull;
        const char* readBack;
    };
    const Case cases[] = {
        {"PAC_NOM__", "", false, ""},          // empty text into a text column: '' not NULL
        {"PAC_NOM__", "ANA", false, "ANA"},
        {"PAC_PES__", "", true, ""},           // empty text into a number: NULL
        {"PAC_PES__", "72", false, "72"},      // converted by the server
        {"PAC_PES__", "72.5", false, "72,5"},
        {"PAC_OBS_C", "", false, ""},          // empty text into a text blob: an empty blob
        {"PAC_OBS_C", "linha 1\r\nlinha 2", false, "linha 1\r\nlinha 2"},
        {"PAC_COD__", "1", false, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " <- '" + c.text + "'");
        update(c.column, [&](Param& p) { p.setAsString(c.text); });
        EXPECT_EQ(isNullInDatabase(c.column), c.storedNull);
        EXPECT_EQ(load().fieldByName(c.column).asString(), c.readBack);
    }
}

TEST_F(Conversions, TextTheServerCannotConvertFailsTheStatement)
{
    insert("", "");
    try {
        update("PAC_PES__", [](Param& p) { p.setAsString("72,5"); });
        FAIL();
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("conversion error"), std::string::npos) << error.what();
    }
}

TEST_F(Conversions, DatesTravelAsCalendarDates)
{
    insert("", "");
    // 45352.75 is 1 March 2024 at 18:00; only the date is sent.
    update("PAC_NAS__", [](Param& p) { p.setAsDate(45352.75); });
    EXPECT_EQ(load().fieldByName("PAC_NAS__").asDateTime(), 45352);
    query.setSql({"SELECT CAST(PAC_NAS__ AS VARCHAR(10)) AS D FROM PACIENTES"});
    query.open();
    EXPECT_EQ(query.fieldByName("D").asString(), "2024-03-01");
    // Before 1899 the count is negative.
    update("PAC_NAS__", [](Param& p) { p.setAsDate(-1); });
    EXPECT_EQ(load().fieldByName("PAC_NAS__").asDateTime(), -1);
}

TEST_F(Conversions, StreamsBecomeNewBlobsEvenWhenEmpty)
{
    insert("", "");
    MemoryStream photo;
    const std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 0x00, 0x01, 0xFF, 0xD9};
    photo.write(bytes.data(), bytes.size());
    photo.setPosition(3); // the whole stream is sent, whatever its position
    update("PAC_FOT__", [&](Param& p) { p.loadFromStream(photo); });
    MemoryStream read;
    load().fieldByName("PAC_FOT__").saveToStream(read);
    EXPECT_EQ(read.bytes(), bytes);

    // A large blob crosses several segments.
    MemoryStream large;
    std::vector<std::uint8_t> big(200000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    large.write(big.data(), big.size());
    update("PAC_FOT__", [&](Param& p) { p.loadFromStream(large); });
    read.clear();
    load().fieldByName("PAC_FOT__").saveToStream(read);
    EXPECT_EQ(read.bytes(), big);

    update("PAC_FOT__", [](Param& p) { p.loadFromStream(MemoryStream{}); });
    EXPECT_FALSE(isNullInDatabase("PAC_FOT__"));
    read.clear();
    load().fieldByName("PAC_FOT__").saveToStream(read);
    EXPECT_TRUE(read.empty());
}

TEST_F(Conversions, UnsetParametersSendNull)
{
    insert("PAC_NOM__", "'X'");
    query.setSql({"UPDATE PACIENTES SET PAC_NOM__ = :PAC_NOM__"});
    query.paramByName("PAC_NOM__");
    query.execSql();
    EXPECT_TRUE(isNullInDatabase("PAC_NOM__"));
}

TEST_F(Conversions, ExpectedFieldsAreCheckedWhenTheResultOpens)
{
    query.setSql({"SELECT PAC_COD__, PAC_NOM__ AS PAC_NAS__ FROM PACIENTES"});
    query.setFieldDefs({{"PAC_COD__", FieldType::Integer}, {"PAC_NAS__", FieldType::Date}});
    try {
        query.open();
        FAIL();
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "Campo 'PAC_NAS__' não é do tipo esperado, esperando: Date atual: String");
    }
    EXPECT_FALSE(query.active());

    query.setSql({"SELECT PAC_COD__ FROM PACIENTES"});
    query.setFieldDefs(patientFieldDefs());
    try {
        query.open();
        FAIL();
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "Campo 'PAC_INC__' não encontrado");
    }

    // The real table meets every expectation.
    query.setSql({"SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;"});
    query.paramByName("PAC_COD__").setAsInteger(1);
    EXPECT_NO_THROW(query.open());
}

TEST_F(Conversions, FieldAndParameterLookupsNameWhatIsMissing)
{
    query.setSql({"SELECT PAC_COD__ FROM PACIENTES WHERE PAC_COD__ = :CODIGO"});
    EXPECT_NO_THROW(query.paramByName("codigo")) << "names are not case-sensitive";
    try {
        query.paramByName("OUTRO");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "Parâmetro 'OUTRO' não encontrado");
    }
    try {
        query.fieldByName("PAC_XYZ__");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "Campo 'PAC_XYZ__' não encontrado");
    }
}

TEST_F(Conversions, IntegersFromTextThatIsNoNumberFailWithTheProgramsMessage)
{
    insert("PAC_NOM__", "'ABC'");
    try {
        load().fieldByName("PAC_NOM__").asInteger();
        FAIL();
    } catch (const DataError& error) {
        EXPECT_STREQ(error.what(), "'ABC' não é um valor Inteiro válido");
    }
}
