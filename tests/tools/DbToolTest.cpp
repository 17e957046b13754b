#include "Seed.h"
#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Transaction.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorlu;
using vorlu::testing::TempDatabase;

namespace {

struct ToolRun {
    int status;
    std::string output; // standard output and error together
};

ToolRun runTool(const std::string& arguments, const std::string& prefix = "")
{
    // Under the sanitizers, LeakSanitizer's exit-time scan of a child process sometimes dies
    // while the client library's threads wind down; the tool's work is checked for leaks
    // in-process by the tests that call it directly.
    const std::string command =
        prefix + " env ASAN_OPTIONS=detect_leaks=0 '" VORLU_DB_TOOL "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer{};
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

int count(const std::string& location, const std::string& sql)
{
    data::Connection connection;
    connection.setDatabaseName(location);
    data::Transaction transaction(connection);
    data::Query query(connection, transaction);
    query.addSql(sql);
    query.open();
    return query.fields().front()->asInteger();
}

} // namespace

TEST(DbTool, CreateMakesADatabaseThatPassesCheck)
{
    TempDatabase folder(3, false);
    const std::string location = folder.location();
    EXPECT_EQ(runTool("create '" + location + "'").status, 0);
    const ToolRun check = runTool("check '" + location + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find("ok"), std::string::npos);
}

TEST(DbTool, BadInputGetsOneLineAndANonZeroExit)
{
    TempDatabase db; // exists already
    struct Case {
        std::string arguments;
        int status;
        const char* fragment;
    };
    const Case cases[] = {
        {"create '" + db.location() + "'", 1, "already exists"},
        {"check '" + (db.folder() / "missing.fdb").string() + "'", 1, "No such file or directory"},
        {"check 127.0.0.1/1:/nowhere.fdb", 1, "Unable to complete network request"},
        {"seed '" + db.location() + "' many", 2, "COUNT must be a positive whole number"},
        {"frobnicate", 2, "usage:"},
        {"", 2, "usage:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_NE(run.output.find(c.fragment), std::string::npos) << run.output;
        if (c.status == 1) {
            EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
        }
    }
}

TEST(DbTool, CheckNamesEveryMismatch)
{
    TempDatabase db;
    {
        data::Connection connection;
        connection.setDatabaseName(db.location());
        data::Transaction transaction(connection);
        data::Query query(connection, transaction);
        for (const char* ddl : {"ALTER TABLE PACIENTES DROP PAC_ETN__", "ALTER TABLE PACIENTES DROP PAC_NAS__",
                                "ALTER TABLE PACIENTES ADD PAC_NAS__ VARCHAR(10)", "DROP TABLE CONSULTAS"}) {
            query.setSql({ddl});
            query.execSql();
            transaction.commit();
        }
    }
    const ToolRun run = runTool("check '" + db.location() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("não tem a coluna PAC_ETN__"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Campo 'PAC_NAS__' não é do tipo esperado, esperando: Date atual: String"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("a tabela CONSULTAS não existe"), std::string::npos) << run.output;
}

TEST(DbTool, SeedAddsRealisticPatientsAfterTheHighestCode)
{
    TempDatabase db;
    tools::SeedOptions options;
    options.count = 60;
    options.batch = 25; // crosses commits
    tools::seedPatients(db.location(), options);
    tools::seedPatients(db.location(), options);
    EXPECT_EQ(count(db.location(), "SELECT COUNT(*) FROM PACIENTES"), 120);
    EXPECT_EQ(count(db.location(), "SELECT MAX(PAC_COD__) FROM PACIENTES"), 120);
    EXPECT_GT(count(db.location(), "SELECT COUNT(*) FROM PACIENTES WHERE PAC_FOT__ IS NOT NULL"), 0);
    EXPECT_GT(count(db.location(), "SELECT COUNT(*) FROM CONSULTAS"), 0);
    // Masked fields in the stored form of the record screen's masks.
    EXPECT_EQ(count(db.location(), "SELECT COUNT(*) FROM PACIENTES WHERE CHAR_LENGTH(PAC_FON_1) <> 14 "
                                   "OR PAC_CEP__ NOT LIKE '__.___-___' OR PAC_CEL__ NOT LIKE '(__) ____-____'"),
              0);
    EXPECT_EQ(count(db.location(), "SELECT COUNT(*) FROM PACIENTES WHERE PAC_SEX__ NOT IN ('MASCULINO', 'FEMININO') "
                                   "OR PAC_ETN__ NOT IN ('ASIÁTICO', 'BRANCO', 'AFRO-DESCENDENTE') "
                                   "OR PAC_NOM__ IS NULL OR PAC_CID__ IS NULL"),
              0);
}

TEST(DbTool, WorksForAnOrdinaryUserAfterRootHasUsedTheEngine)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run the tool as another user";
    if (std::system("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "setpriv is missing";
    // The engine's default lock folder, as root leaves it after any embedded use.
    TempDatabase rootDb;
    const auto folder = std::filesystem::temp_directory_path() / vorlu::testing::uniqueName("vorlu-nobody");
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    const std::string location = (folder / "user.fdb").string();
    const std::string asNobody =
        "env -u FIREBIRD_LOCK -u XDG_RUNTIME_DIR HOME=" + folder.string() +
        " setpriv --reuid=nobody --regid=nogroup --clear-groups";
    const ToolRun created = runTool("create '" + location + "'", asNobody);
    EXPECT_EQ(created.status, 0) << created.output;
    const ToolRun checked = runTool("check '" + location + "'", asNobody);
    EXPECT_EQ(checked.status, 0) << checked.output;
    std::filesystem::remove_all(folder);
}
