#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlu::forms::paciente {

// The record screen's statements, each as the lines its component receives. Spliced values go in
// exactly as given: the code field's text unquoted, the name quoted, program numbers as digits.

// datRegistros' fixed text, with the parameter PAC_COD__.
inline constexpr const char* kLoadByCode = "SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;";
inline constexpr const char* kNextCode = "SELECT MAX(PAC_COD__) AS CODIGO FROM PACIENTES";

std::string stubInsertStatement(std::int32_t code);
// The nine lines of the update; the row is named by `target`, PAC_COD__ is a parameter, so one
// statement can give the row a new code. PAC_OBS__ is never among the columns.
std::vector<std::string> updateStatement(std::int32_t target);
std::string consultationGuardStatement(std::string_view codeText);
std::string deleteStatement(std::string_view codeText);
// Nothing separates the code from "AND": the text goes to the server exactly so.
std::string duplicateCodeStatement(std::string_view codeText, std::string_view name);

// A string literal: enclosed in apostrophes, every apostrophe inside doubled.
std::string quotedString(std::string_view text);

// The update's parameters, in the order they are bound.
const std::vector<const char*>& updateParameterOrder();

} // namespace vorlu::forms::paciente
