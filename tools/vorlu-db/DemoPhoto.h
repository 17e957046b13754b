#pragma once

#include "data/MemoryStream.h"

#include <vector>

namespace vorlu::tools {

// A few small portrait placeholders (150 x 198, JPEG) for demo patients.
std::vector<data::MemoryStream> demoPhotos();

} // namespace vorlu::tools
