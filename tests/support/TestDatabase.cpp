#include "TestDatabase.h"

#include "data/Schema.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include <unistd.h>

namespace vorlu::testing {

std::string uniqueName(const std::string& prefix)
{
    static std::atomic<int> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(now) + "-" + std::to_string(counter++);
}

TempDatabase::TempDatabase(int dialect, bool withSchema)
{
    folder_ = std::filesystem::temp_directory_path() / uniqueName("vorlu-test");
    std::filesystem::create_directories(folder_);
    location_ = (folder_ / "test.fdb").string();
    if (withSchema)
        data::createSchema(location_, dialect);
}

TempDatabase::~TempDatabase()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool TestServer::available()
{
    const char* address = std::getenv("VORLU_TEST_SERVER");
    return address && *address;
}

bool TestServer::required()
{
    const char* value = std::getenv("VORLU_REQUIRE_SERVER");
    return value && *value && std::string(value) != "0";
}

std::string TestServer::address() { return std::getenv("VORLU_TEST_SERVER"); }

std::string TestServer::databaseFolder()
{
    const char* folder = std::getenv("VORLU_TEST_SERVER_DIR");
    return folder && *folder ? folder : std::filesystem::temp_directory_path().string();
}

namespace {
void runControl(const char* verb)
{
    const char* control = std::getenv("VORLU_TEST_SERVER_CONTROL");
    const char* dir = std::getenv("VORLU_TEST_SERVER_DIR");
    if (!control || !dir)
        throw std::runtime_error("VORLU_TEST_SERVER_CONTROL and VORLU_TEST_SERVER_DIR are needed");
    const std::string serverDir = std::filesystem::path(dir).parent_path().string();
    const std::string command = std::string(control) + " " + verb + " '" + serverDir + "' >/dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error(std::string("could not ") + verb + " the test server");
}
} // namespace

void TestServer::stop() { runControl("kill"); }
void TestServer::start() { runControl("restart"); }

ServerDatabase::ServerDatabase()
{
    path_ = TestServer::databaseFolder() + "/" + uniqueName("server") + ".fdb";
    location_ = TestServer::address() + ":" + path_;
    data::createSchema(location_);
}

ServerDatabase::~ServerDatabase()
{
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

} // namespace vorlu::testing
