#pragma once

#include <QString>

namespace vorlu::assets {

// The program's pictures, compiled in as Qt resources: ":/pictures/<file>.png".
QString picturePath(const char* fileName);

// The file names, for the places that use them.
inline constexpr const char* kSplashPicture = "splash.png";
inline constexpr const char* kProgramIcon = "vorlu.png";

} // namespace vorlu::assets
