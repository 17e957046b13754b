#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace vorlu::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's resident memory in kilobytes, read from /proc.
long residentKilobytes();

// Prints one figure: "name = value unit".
void printFigure(const char* name, double value, const char* unit);

// A database of `patients` demo patients for benchmarks, made once and reused:
// $VORLU_BENCH_DIR (default build folder's bench-data) / patients-<count>.fdb.
std::string benchDatabase(unsigned long patients, unsigned photoEvery = 0);

} // namespace vorlu::bench
