#include "startup/Registro.h"

namespace vorlu::startup {

using platform::RegistryAccess;
using platform::RegistryRoot;

std::string LeRegistro(std::string_view keyPath, std::string_view valueName)
{
    auto registry = platform::systemRegistry();
    return LeRegistro(*registry, keyPath, valueName);
}

std::string LeRegistro(platform::Registry& registry, std::string_view keyPath, std::string_view valueName)
{
    const auto key = registry.openKey(RegistryRoot::CurrentUser, keyPath, RegistryAccess::Full, false);
    if (!key)
        return {};
    return platform::readRegistryText(*key, valueName);
}

void GravaRegistro(std::string_view keyPath, bool createKey, std::string_view valueName, std::string_view valueText)
{
    auto registry = platform::systemRegistry();
    GravaRegistro(*registry, keyPath, createKey, valueName, valueText);
}

void GravaRegistro(platform::Registry& registry, std::string_view keyPath, bool createKey, std::string_view valueName,
                   std::string_view valueText)
{
    const auto key = registry.openKey(RegistryRoot::CurrentUser, keyPath, RegistryAccess::Full, createKey);
    if (!key)
        throw platform::RegistryWriteError(valueName);
    key->writeString(valueName, valueText);
}

void setDatabaseLocation(std::string_view location)
{
    GravaRegistro(kSettingsKey, true, kDatabaseLocationValue, location);
}

void setDatabaseLocation(platform::Registry& registry, std::string_view location)
{
    GravaRegistro(registry, kSettingsKey, true, kDatabaseLocationValue, location);
}

} // namespace vorlu::startup
