#include "Cidades.h"

namespace vorlu::assets {

extern const char* const kCidades[];
extern const std::size_t kCidadesCount;

std::span<const char* const> cidades() { return {kCidades, kCidadesCount}; }

} // namespace vorlu::assets
