#include "forms/controls/PickLists.h"

#include "assets/Cidades.h"

namespace vorlu::controls {

QStringList sexItems()
{
    return {QStringLiteral("MASCULINO"), QStringLiteral("FEMININO")};
}

QStringList ethnicityItems()
{
    return {QStringLiteral("ASIÁTICO"), QStringLiteral("BRANCO"), QStringLiteral("AFRO-DESCENDENTE")};
}

QStringList stateItems()
{
    return {QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"),
            QStringLiteral("BA"), QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"),
            QStringLiteral("EX"), QStringLiteral("GO"), QStringLiteral("MA"), QStringLiteral("MG"),
            QStringLiteral("MS"), QStringLiteral("MT"), QStringLiteral("PA"), QStringLiteral("PB"),
            QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RJ"),
            QStringLiteral("RN"), QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("RS"),
            QStringLiteral("SC"), QStringLiteral("SE"), QStringLiteral("SP"), QStringLiteral("TO"),
            QString()};
}

QStringList cityItems()
{
    const auto names = assets::cidades();
    QStringList items;
    items.reserve(qsizetype(names.size()) + 1);
    items << QString();
    for (const char* name : names)
        items << QString::fromUtf8(name);
    return items;
}

} // namespace vorlu::controls
