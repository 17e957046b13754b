#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace vorlu::platform {

// No folder can be found for the per-user settings (no home folder at all).
class ConfigPathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The per-user folder of the program's files, looked up afresh on every call so that a test
// can point it elsewhere: $XDG_CONFIG_HOME/Vorlu (an absolute XDG_CONFIG_HOME only), else
// ~/.config/Vorlu; on Windows %APPDATA%\Vorlu.
std::filesystem::path configDirectory();

// Where the file store keeps the registry values away from Windows.
std::filesystem::path registryFilePath();

// The window-placement file: the executable's file name with its extension replaced by ".INI"
// (or ".INI" appended when it has none), in configDirectory().
std::filesystem::path placementFilePath();
std::filesystem::path placementFileName(const std::filesystem::path& executable);

// The running executable's full path.
std::filesystem::path executablePath();

} // namespace vorlu::platform
