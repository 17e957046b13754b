#include "forms/controls/CharCase.h"

namespace vorlu::controls {

QString applyCharCase(const QString& text, CharCase charCase)
{
    if (charCase == CharCase::Normal)
        return text;
    QString converted = text;
    for (QChar& ch : converted) {
        if (ch.isSurrogate())
            continue; // letters outside the basic plane have no single-unit case pair
        ch = charCase == CharCase::Upper ? ch.toUpper() : ch.toLower();
    }
    return converted;
}

} // namespace vorlu::controls
