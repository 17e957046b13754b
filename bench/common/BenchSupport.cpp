#include "BenchSupport.h"

#include "Seed.h"
#include "data/Schema.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace vorlu::bench {

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

void printFigure(const char* name, double value, const char* unit)
{
    std::printf("%s = %.6g%s%s\n", name, value, *unit ? " " : "", unit);
    std::fflush(stdout);
}

std::string benchDatabase(unsigned long patients, unsigned photoEvery)
{
    const char* dir = std::getenv("VORLU_BENCH_DIR");
    const std::filesystem::path folder = dir && *dir ? dir : VORLU_BENCH_DEFAULT_DIR;
    std::filesystem::create_directories(folder);
    const auto file = folder / ("patients-" + std::to_string(patients) + (photoEvery ? "-photos" : "") + ".fdb");
    const auto ready = file.string() + ".ready";
    if (std::filesystem::exists(ready))
        return file.string();
    std::filesystem::remove(file);
    std::cerr << "making " << file << " with " << patients << " patients (once)...\n";
    data::createSchema(file.string());
    tools::SeedOptions options;
    options.count = patients;
    options.photoEvery = photoEvery;
    options.consultationsEvery = 0;
    options.batch = 50000;
    tools::seedPatients(file.string(), options);
    std::ofstream(ready) << "ok\n";
    return file.string();
}

} // namespace vorlu::bench
