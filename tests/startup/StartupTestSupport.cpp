#include "StartupTestSupport.h"

#include "platform/ConfigPaths.h"
#include "platform/Registry.h"
#include "platform/RegistryDocument.h"
#include "startup/Registro.h"

#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QtGlobal>

#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vorlu::testing {

TempSettings::TempSettings()
{
    if (!folder_.isValid())
        throw std::runtime_error("no temporary folder for the settings");
    if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        previous_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
}

TempSettings::~TempSettings()
{
    if (previous_)
        qputenv("XDG_CONFIG_HOME", *previous_);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

std::filesystem::path TempSettings::registryFile() const
{
    return platform::registryFilePath();
}

std::filesystem::path TempSettings::placementFile() const
{
    return platform::placementFilePath();
}

bool settingsKeyExists()
{
    return platform::systemRegistry()->openKey(platform::RegistryRoot::CurrentUser, startup::kSettingsKey,
                                               platform::RegistryAccess::ReadOnly, false)
           != nullptr;
}

std::optional<std::string> storedText(std::string_view valueName)
{
    const auto key = platform::systemRegistry()->openKey(platform::RegistryRoot::CurrentUser, startup::kSettingsKey,
                                                         platform::RegistryAccess::ReadOnly, false);
    if (!key)
        return std::nullopt;
    const auto value = key->readValue(valueName);
    if (!value)
        return std::nullopt;
    return platform::registryValueText(value, valueName);
}

void storeText(std::string_view valueName, std::string_view text)
{
    startup::GravaRegistro(startup::kSettingsKey, true, valueName, text);
}

void storeNumber(std::string_view valueName, unsigned number)
{
    const std::filesystem::path file = platform::registryFilePath();
    std::string text;
    if (std::filesystem::exists(file)) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    platform::RegistryDocument document =
        text.empty() ? platform::RegistryDocument() : platform::RegistryDocument::parse(text, file.string());
    document.create(platform::RegistryRoot::CurrentUser, startup::kSettingsKey)
        .set(valueName, platform::RegistryValue::dword(number));
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << document.serialize();
}

void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double dateTimeOf(int year, int month, int day, int hour, int minute, int second)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(year, month, day))) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

void reloadTimeZone()
{
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

double workstationNow()
{
    reloadTimeZone();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return dateTimeOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

} // namespace vorlu::testing
