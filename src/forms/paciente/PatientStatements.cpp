#include "forms/paciente/PatientStatements.h"

namespace vorlu::forms::paciente {

std::string stubInsertStatement(std::int32_t code)
{
    return "INSERT INTO PACIENTES (PAC_COD__) VALUES (" + std::to_string(code) + ")";
}

std::vector<std::string> updateStatement(std::int32_t target)
{
    return {
        "UPDATE PACIENTES SET PAC_COD__ = :PAC_COD__,",
        "PAC_INC__ = :PAC_INC__, PAC_NOM__ = :PAC_NOM__, PAC_SEX__ = :PAC_SEX__,",
        "PAC_NAS__ = :PAC_NAS__, PAC_PES__ = :PAC_PES__, PAC_END__ = :PAC_END__,",
        "PAC_CID__ = :PAC_CID__, PAC_UF__  = :PAC_UF__ , PAC_BAI__ = :PAC_BAI__,",
        "PAC_CEP__ = :PAC_CEP__, PAC_FON_1 = :PAC_FON_1, PAC_FON_2 = :PAC_FON_2,",
        "PAC_FON_3 = :PAC_FON_3, PAC_CEL__ = :PAC_CEL__, PAC_EMA__ = :PAC_EMA__,",
        "PAC_OBS_C = :PAC_OBS_C, PAC_FOT__ = :PAC_FOT__, PAC_CON__ = :PAC_CON__,",
        "PAC_ETN__ = :PAC_ETN__",
        "WHERE PAC_COD__ = " + std::to_string(target),
    };
}

std::string consultationGuardStatement(std::string_view codeText)
{
    return "SELECT CON_COD__ FROM CONSULTAS WHERE CON_PAC__ = " + std::string(codeText);
}

std::string deleteStatement(std::string_view codeText)
{
    return "DELETE FROM PACIENTES WHERE PAC_COD__ = " + std::string(codeText);
}

std::string duplicateCodeStatement(std::string_view codeText, std::string_view name)
{
    return "SELECT PAC_NOM__ FROM PACIENTES WHERE PAC_COD__ = " + std::string(codeText) + "AND PAC_NOM__ <> "
        + quotedString(name);
}

std::string quotedString(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

const std::vector<const char*>& updateParameterOrder()
{
    static const std::vector<const char*> order = {
        "PAC_COD__", "PAC_INC__", "PAC_NOM__", "PAC_SEX__", "PAC_ETN__", "PAC_NAS__", "PAC_PES__",
        "PAC_END__", "PAC_CID__", "PAC_UF__",  "PAC_BAI__", "PAC_CEP__", "PAC_FON_1", "PAC_FON_2",
        "PAC_FON_3", "PAC_CEL__", "PAC_EMA__", "PAC_CON__", "PAC_OBS_C", "PAC_FOT__",
    };
    return order;
}

} // namespace vorlu::forms::paciente
