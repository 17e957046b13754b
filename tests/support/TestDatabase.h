#pragma once

#include <filesystem>
#include <string>

namespace vorlu::testing {

// A fresh embedded database with the program's schema, in a folder of its own that is
// removed with it.
class TempDatabase {
public:
    explicit TempDatabase(int dialect = 3, bool withSchema = true);
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::string& location() const { return location_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::string location_;
};

// The loopback Firebird server that scripts/test starts. available() is false when the tests
// run without it; requireServer() makes that a failure when VORLU_REQUIRE_SERVER is set.
struct TestServer {
    static bool available();
    static bool required();
    // "127.0.0.1/port"
    static std::string address();
    // The folder, on the server's machine, where test databases go.
    static std::string databaseFolder();
};

// A fresh database with the schema on the loopback server, reached by its server location
// ("127.0.0.1/port:/path/file.fdb"), dropped at the end.
class ServerDatabase {
public:
    ServerDatabase();
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    const std::string& location() const { return location_; }

private:
    std::string path_;
    std::string location_;
};

// A loopback server of one test's own, for tests that kill it: the shared one serves other
// tests running at the same time. Needs scripts/fbserver (VORLU_TEST_SERVER_CONTROL).
class PrivateServer {
public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // A new database with the schema on this server, as a server location.
    std::string createDatabase(const std::string& name = "test.fdb");
    // Kills the server at once, as a crash or a pulled cable would; restart() brings it back
    // on the same port with the same databases.
    void kill();
    void restart();

private:
    void control(const std::string& verb);
    std::string folder_;
    std::string port_;
};

// A unique name for a file or folder of one test.
std::string uniqueName(const std::string& prefix);

} // namespace vorlu::testing

// Skips a test that needs the loopback server when there is none, or fails it when the
// suite was told the server must be there.
#define VORLU_REQUIRE_TEST_SERVER()                                                            \
    do {                                                                                       \
        if (!::vorlu::testing::TestServer::available()) {                                      \
            if (::vorlu::testing::TestServer::required())                                      \
                FAIL() << "VORLU_REQUIRE_SERVER is set but VORLU_TEST_SERVER is not";          \
            GTEST_SKIP() << "no loopback Firebird server (VORLU_TEST_SERVER)";                 \
        }                                                                                      \
    } while (0)
