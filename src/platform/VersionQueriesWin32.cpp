// The two Windows version queries.
#ifdef _WIN32

#include "platform/VersionQueries.h"

#include <cstring>
#include <windows.h>

#if defined(_MSC_VER)
#pragma warning(disable : 4996) // GetVersionExA is deprecated; it is the query this unit is about
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace vorlu::platform {

namespace {

std::string untilZero(const char* text, std::size_t size)
{
    std::size_t length = 0;
    while (length < size && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

} // namespace

bool windowsVersionQueriesExist()
{
    return true;
}

std::optional<BasicVersionReport> queryBasicVersion()
{
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA); // 148
    if (!::GetVersionExA(&info))
        return std::nullopt;
    return BasicVersionReport{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId,
                              untilZero(info.szCSDVersion, sizeof info.szCSDVersion)};
}

std::optional<ExtendedVersionReport> queryExtendedVersion()
{
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA); // 156
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return std::nullopt;
    return ExtendedVersionReport{info.dwMinorVersion, untilZero(info.szCSDVersion, sizeof info.szCSDVersion),
                                 info.wSuiteMask, info.wProductType};
}

HostSystemReport queryHostSystem()
{
    return {};
}

} // namespace vorlu::platform

#endif
