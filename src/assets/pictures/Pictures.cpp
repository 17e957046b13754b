#include "assets/pictures/Pictures.h"

namespace vorlu::assets {

QString picturePath(const char* fileName)
{
    return QStringLiteral(":/pictures/") + QLatin1String(fileName);
}

} // namespace vorlu::assets
