#include "TestDatabase.h"

#include "data/Schema.h"

#include <atomic>
#include <cstdio>
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

PrivateServer::PrivateServer()
{
    folder_ = (std::filesystem::temp_directory_path() / uniqueName("vorlu-server")).string();
    const char* script = std::getenv("VORLU_TEST_SERVER_CONTROL");
    if (!script || !*script)
        throw std::runtime_error("VORLU_TEST_SERVER_CONTROL (scripts/fbserver) is not set");
    const std::string command = std::string("'") + script + "' start '" + folder_ + "'";
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[64] = {};
    if (!pipe || !std::fgets(buffer, sizeof buffer, pipe)) {
        if (pipe)
            pclose(pipe);
        throw std::runtime_error("could not start a private test server");
    }
    pclose(pipe);
    port_ = std::string(buffer);
    while (!port_.empty() && (port_.back() == '\n' || port_.back() == '\r'))
        port_.pop_back();
}

PrivateServer::~PrivateServer()
{
    try {
        control("stop");
    } catch (...) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string PrivateServer::createDatabase(const std::string& name)
{
    const std::string location = "127.0.0.1/" + port_ + ":" + folder_ + "/db/" + name;
    data::createSchema(location);
    return location;
}

void PrivateServer::kill() { control("kill"); }
void PrivateServer::restart() { control("restart"); }

void PrivateServer::control(const std::string& verb)
{
    const std::string command =
        std::string("'") + std::getenv("VORLU_TEST_SERVER_CONTROL") + "' " + verb + " '" + folder_ + "' >/dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("could not " + verb + " the private test server");
}

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
