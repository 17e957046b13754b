#pragma once

#include "platform/Registry.h"

#include <string>
#include <string_view>

namespace vorlu::startup {

// The program's settings key under the current user's hive, and its two values.
inline constexpr std::string_view kSettingsKey = "SOFTWARE\\Vorlu\\Vorlu10";
inline constexpr std::string_view kDatabaseLocationValue = "CaminhoBD";
inline constexpr std::string_view kCompanyValue = "Empresa";

// Reads a text value under the current user's hive. A key that does not open, a missing value
// and a value of size zero give ""; nothing is ever created. A string or expandable string is
// returned as stored (no expansion) up to its first zero character; any other non-empty value
// raises platform::RegistryTypeError "Tipo de dados inválido para '<value name>'". An unreadable
// store file raises platform::RegistryFileError.
std::string LeRegistro(std::string_view keyPath, std::string_view valueName);
std::string LeRegistro(platform::Registry& registry, std::string_view keyPath, std::string_view valueName);

// Writes valueText as a plain string under the current user's hive, replacing any earlier value;
// with createKey, the missing keys of the path are created. A key that cannot be opened or
// created, or a value that cannot be written, raises platform::RegistryWriteError
// "Falha ao definir dados para '<value name>'".
void GravaRegistro(std::string_view keyPath, bool createKey, std::string_view valueName, std::string_view valueText);
void GravaRegistro(platform::Registry& registry, std::string_view keyPath, bool createKey, std::string_view valueName,
                   std::string_view valueText);

// Stores the database location for the current user, as a confirmed location dialog does
// (used by "vorlu-db set-location").
void setDatabaseLocation(std::string_view location);
void setDatabaseLocation(platform::Registry& registry, std::string_view location);

} // namespace vorlu::startup
