#include "FormatSettings.h"

#include <atomic>

namespace vorlu::data {
namespace {
std::atomic<char> separator{'.'};
}

char decimalSeparator() { return separator.load(); }
void setDecimalSeparator(char value) { separator.store(value); }

} // namespace vorlu::data
