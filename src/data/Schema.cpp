#include "Schema.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Transaction.h"

namespace vorlu::data {

const std::vector<PatientColumn>& patientColumns()
{
    static const std::vector<PatientColumn> columns = {
        {"PAC_COD__", FieldType::Integer, true, 0},
        {"PAC_INC__", FieldType::Date, true, 0},
        {"PAC_FOT__", FieldType::Blob, false, 0},
        {"PAC_NOM__", FieldType::String, false, 100},
        {"PAC_SEX__", FieldType::String, true, 10},
        {"PAC_NAS__", FieldType::Date, false, 0},
        {"PAC_PES__", FieldType::Float, false, 0},
        {"PAC_END__", FieldType::String, false, 100},
        {"PAC_CID__", FieldType::String, false, 100},
        {"PAC_UF__", FieldType::String, false, 2},
        {"PAC_BAI__", FieldType::String, false, 50},
        {"PAC_CEP__", FieldType::String, false, 10},
        {"PAC_FON_1", FieldType::String, false, 14},
        {"PAC_FON_2", FieldType::String, false, 14},
        {"PAC_FON_3", FieldType::String, false, 14},
        {"PAC_CEL__", FieldType::String, false, 14},
        {"PAC_EMA__", FieldType::String, false, 100},
        {"PAC_OBS__", FieldType::Memo, false, 0},
        {"PAC_CON__", FieldType::String, false, 50},
        {"PAC_OBS_C", FieldType::Memo, false, 0},
        {"PAC_ETN__", FieldType::String, false, 20},
    };
    return columns;
}

std::vector<FieldDef> patientFieldDefs()
{
    std::vector<FieldDef> defs;
    for (const auto& column : patientColumns())
        defs.push_back({column.name, column.type});
    return defs;
}

namespace {

std::vector<std::string> statementsFor(int dialect)
{
    // Dialect 1 has no DATE-only type and no CURRENT_DATE; 'TODAY' is evaluated per insert.
    const std::string today = dialect >= 3 ? "CURRENT_DATE" : "'TODAY'";
    return {
        "CREATE TABLE PACIENTES (\n"
        "  PAC_COD__ INTEGER NOT NULL,\n"
        "  PAC_INC__ DATE DEFAULT " + today + " NOT NULL,\n"
        "  PAC_FOT__ BLOB SUB_TYPE 0 SEGMENT SIZE 4096,\n"
        "  PAC_NOM__ VARCHAR(100),\n"
        "  PAC_SEX__ VARCHAR(10) DEFAULT 'FEMININO' NOT NULL,\n"
        "  PAC_NAS__ DATE,\n"
        "  PAC_PES__ DOUBLE PRECISION,\n"
        "  PAC_END__ VARCHAR(100),\n"
        "  PAC_CID__ VARCHAR(100),\n"
        "  PAC_UF__ CHAR(2),\n"
        "  PAC_BAI__ VARCHAR(50),\n"
        "  PAC_CEP__ VARCHAR(10),\n"
        "  PAC_FON_1 VARCHAR(14),\n"
        "  PAC_FON_2 VARCHAR(14),\n"
        "  PAC_FON_3 VARCHAR(14),\n"
        "  PAC_CEL__ VARCHAR(14),\n"
        "  PAC_EMA__ VARCHAR(100),\n"
        "  PAC_OBS__ BLOB SUB_TYPE 1 SEGMENT SIZE 4096,\n"
        "  PAC_CON__ VARCHAR(50),\n"
        "  PAC_OBS_C BLOB SUB_TYPE 1 SEGMENT SIZE 4096,\n"
        "  PAC_ETN__ VARCHAR(20),\n"
        "  CONSTRAINT PK_PACIENTES PRIMARY KEY (PAC_COD__)\n"
        ")",
        // The search lists patients ordered by name.
        "CREATE INDEX IX_PACIENTES_NOME ON PACIENTES (PAC_NOM__)",
        "CREATE TABLE CONSULTAS (\n"
        "  CON_COD__ INTEGER NOT NULL,\n"
        "  CON_PAC__ INTEGER NOT NULL,\n"
        "  CON_DAT__ DATE,\n"
        "  CONSTRAINT PK_CONSULTAS PRIMARY KEY (CON_COD__),\n"
        "  CONSTRAINT FK_CONSULTAS_PACIENTE FOREIGN KEY (CON_PAC__) REFERENCES PACIENTES (PAC_COD__)\n"
        ")",
    };
}

} // namespace

std::vector<std::string> schemaStatements() { return statementsFor(3); }

void createSchema(const std::string& location, int dialect)
{
    Connection::createDatabase(location, dialect);
    Connection connection;
    connection.setDatabaseName(location);
    connection.open();
    Transaction transaction(connection);
    Query query(connection, transaction);
    for (const auto& statement : statementsFor(dialect)) {
        query.setSql({statement});
        query.execSql();
        // Each table must be committed before the next statement refers to it.
        transaction.commit();
    }
}

std::vector<std::string> checkSchema(Connection& connection)
{
    std::vector<std::string> problems;
    Transaction transaction(connection);
    Query query(connection, transaction);

    auto tableExists = [&](const char* table) {
        query.setSql({std::string("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = '") + table + "'"});
        query.open();
        return !query.isEmpty();
    };
    auto checkColumns = [&](const char* table, const std::vector<FieldDef>& expected) {
        if (!tableExists(table)) {
            problems.push_back(std::string("a tabela ") + table + " não existe");
            return;
        }
        query.setSql({std::string("SELECT * FROM ") + table + " WHERE 1 = 0"});
        query.open();
        for (const auto& def : expected) {
            Field* field = query.findField(def.name);
            if (!field) {
                problems.push_back(std::string("a tabela ") + table + " não tem a coluna " + def.name);
                continue;
            }
            // Compared as the record screen's fields compare them.
            query.setFieldDefs({def});
            try {
                query.open();
            } catch (const DataError& error) {
                problems.push_back(std::string(table) + ": " + error.what());
            }
            query.setFieldDefs({});
        }
    };

    checkColumns("PACIENTES", patientFieldDefs());
    checkColumns("CONSULTAS", {{"CON_COD__", FieldType::Integer}, {"CON_PAC__", FieldType::Integer}});
    query.close();
    if (transaction.active())
        transaction.rollback();
    return problems;
}

} // namespace vorlu::data
