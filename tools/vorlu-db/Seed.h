#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vorlu::tools {

struct SeedOptions {
    std::uint64_t count = 0;
    std::uint32_t randomSeed = 20261211;
    // One patient in this many gets a photo, one in consultationsEvery gets consultations;
    // 0 for none.
    unsigned photoEvery = 4;
    unsigned consultationsEvery = 3;
    // Rows per commit.
    unsigned batch = 20000;
    std::function<void(std::uint64_t done)> progress;
};

// Adds realistic demo patients after the highest code in the database: Brazilian names and
// addresses, masked phones and postal codes in their stored form, some photos and some
// consultations.
void seedPatients(const std::string& location, const SeedOptions& options);

} // namespace vorlu::tools
