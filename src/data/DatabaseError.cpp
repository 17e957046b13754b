#include "DatabaseError.h"

#include <algorithm>

namespace vorlu::data {

DatabaseError::DatabaseError(std::string text, std::vector<std::intptr_t> gdsCodes, int sqlCode)
    : std::runtime_error(std::move(text)), gdsCodes_(std::move(gdsCodes)), sqlCode_(sqlCode)
{
}

bool DatabaseError::hasGdsCode(std::intptr_t code) const
{
    return std::find(gdsCodes_.begin(), gdsCodes_.end(), code) != gdsCodes_.end();
}

} // namespace vorlu::data
