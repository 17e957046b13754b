#include "platform/ConfigPaths.h"

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace vorlu::platform {

namespace {

#ifdef _WIN32
// The wide environment: the narrow one holds the code page's version of a user folder's name.
std::wstring environment(const wchar_t* name)
{
    const wchar_t* value = ::_wgetenv(name);
    return value ? std::wstring(value) : std::wstring();
}
#else
std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::filesystem::path homeDirectory()
{
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    throw ConfigPathError("Impossível localizar a pasta de configurações do usuário");
}
#endif

} // namespace

std::filesystem::path configDirectory()
{
#ifdef _WIN32
    const std::wstring appData = environment(L"APPDATA");
    if (appData.empty())
        throw ConfigPathError("Impossível localizar a pasta de configurações do usuário");
    return std::filesystem::path(appData) / "Vorlu";
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base-directory rules say.
    const std::filesystem::path xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.is_absolute())
        return xdg / "Vorlu";
    return homeDirectory() / ".config" / "Vorlu";
#endif
}

std::filesystem::path registryFilePath()
{
    return configDirectory() / "registry.reg";
}

std::filesystem::path placementFileName(const std::filesystem::path& executable)
{
    return executable.filename().replace_extension(".INI");
}

std::filesystem::path placementFilePath()
{
    return configDirectory() / placementFileName(executablePath());
}

std::filesystem::path executablePath()
{
#ifdef _WIN32
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return "vorlu.exe";
        if (length < buffer.size())
            return std::filesystem::path(std::wstring(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return path;
    return "vorlu";
#endif
}

} // namespace vorlu::platform
