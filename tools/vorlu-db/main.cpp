// vorlu-db: creates, fills and checks the database the program works on. The program itself
// never creates a table (the other modules of the system own the schema); this tool stands in
// for them in installations, demos and tests.

#include "Seed.h"
#include "data/Connection.h"
#include "data/Schema.h"
#include "startup/Registro.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

int usage()
{
    std::cerr << "usage:\n"
                 "  vorlu-db create LOCATION        a new database with the patient tables\n"
                 "  vorlu-db seed LOCATION COUNT    adds COUNT demo patients\n"
                 "  vorlu-db check LOCATION         tells whether the database is what the program expects\n"
                 "  vorlu-db set-location LOCATION  points the program of the current user at LOCATION\n"
                 "LOCATION: a local file (/path/file.fdb) or a server location (host:/path/file.fdb,\n"
                 "host/port:/path/file.fdb)\n";
    return 2;
}

// Firebird's messages have several lines; a command-line tool answers in one.
std::string oneLine(std::string text)
{
    for (auto& c : text)
        if (c == '\n' || c == '\r')
            c = ';';
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == ';' && i + 1 < text.size() && text[i + 1] != ' ')
            out += ' ';
    }
    return out;
}

// A location without a host part names a file on this machine.
bool isLocalPath(const std::string& location)
{
    const auto colon = location.find(':');
    return colon == std::string::npos || (colon == 1 && location.size() > 2); // C:\... on Windows
}

int create(const std::string& location)
{
    if (isLocalPath(location) && std::filesystem::exists(location)) {
        std::cerr << "vorlu-db: " << location << " already exists; nothing was changed\n";
        return 1;
    }
    vorlu::data::createSchema(location);
    std::cout << "created " << location << "\n";
    return 0;
}

int seed(const std::string& location, std::string_view countText)
{
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (error != std::errc() || end != countText.data() + countText.size() || count == 0) {
        std::cerr << "vorlu-db: COUNT must be a positive whole number, not '" << countText << "'\n";
        return 2;
    }
    vorlu::tools::SeedOptions options;
    options.count = count;
    options.progress = [count](std::uint64_t done) {
        if (count >= 100000)
            std::cerr << "\r" << done << " / " << count << std::flush;
    };
    vorlu::tools::seedPatients(location, options);
    if (count >= 100000)
        std::cerr << "\n";
    std::cout << "added " << count << " patients to " << location << "\n";
    return 0;
}

int check(const std::string& location)
{
    vorlu::data::Connection connection;
    connection.setDatabaseName(location);
    connection.open();
    const auto problems = vorlu::data::checkSchema(connection);
    for (const auto& problem : problems)
        std::cout << location << ": " << problem << "\n";
    if (problems.empty())
        std::cout << location << ": ok (dialect " << connection.databaseDialect() << ")\n";
    return problems.empty() ? 0 : 1;
}

int setLocation(const std::string& location)
{
    vorlu::startup::setDatabaseLocation(location);
    std::cout << "CaminhoBD = " << location << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    struct ClientShutdown {
        ~ClientShutdown() { vorlu::data::shutdownDatabaseClient(); }
    } shutdownAtExit;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    try {
        const std::string& command = args[0];
        if (command == "create" && args.size() == 2)
            return create(args[1]);
        if (command == "seed" && args.size() == 3)
            return seed(args[1], args[2]);
        if (command == "check" && args.size() == 2)
            return check(args[1]);
        if (command == "set-location" && args.size() == 2)
            return setLocation(args[1]);
        return usage();
    } catch (const std::exception& error) {
        std::cerr << "vorlu-db: " << oneLine(error.what()) << "\n";
        return 1;
    }
}
