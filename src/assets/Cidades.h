#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace vorlu::assets {

// The Brazilian municipalities, upper case without accents, sorted, compiled into the program.
std::span<const char* const> cidades();

} // namespace vorlu::assets
