#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorlu::testing {

// The per-user settings (registry file and placement file) in a temporary folder for as long
// as it lives: XDG_CONFIG_HOME points there.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    std::filesystem::path registryFile() const;
    std::filesystem::path placementFile() const;

private:
    QTemporaryDir folder_;
    std::optional<QByteArray> previous_;
};

// The program's settings key, through the program's own store.
bool settingsKeyExists();
std::optional<std::string> storedText(std::string_view valueName);
void storeText(std::string_view valueName, std::string_view text);
// Stores a number under the value name, a value the program must not read as text.
void storeNumber(std::string_view valueName, unsigned number);

// Frees what was released (forms closed with caFree) now, as the event loop would.
void flushDeferredDeletes();

// The date-time the program would compute for a local calendar date and time.
double dateTimeOf(int year, int month, int day, int hour, int minute, int second);
// The workstation's local clock, read through the C library (which follows TZ).
double workstationNow();
// Makes the C library read TZ again.
void reloadTimeZone();

} // namespace vorlu::testing
