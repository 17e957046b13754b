// The two Windows version queries.
#ifdef _WIN32

#include "platform/VersionQueries.h"
#include "platform/Win32VersionQuery.h"

#include <cstring>

#if defined(_MSC_VER)
#pragma warning(disable : 4996) // GetVersionExA is deprecated; it is the query this unit is about
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif

namespace vorlu::platform {

namespace {

GetVersionExAFunction versionFunction = &::GetVersionExA;

std::string untilZero(const char* text, std::size_t size)
{
    std::size_t length = 0;
    while (length < size && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156,
              "the size fields Windows tells the two structures apart by");

} // namespace

GetVersionExAFunction replaceGetVersionExA(GetVersionExAFunction function)
{
    const GetVersionExAFunction replaced = versionFunction;
    versionFunction = function ? function : &::GetVersionExA;
    return replaced;
}

bool windowsVersionQueriesExist()
{
    return true;
}

std::optional<BasicVersionReport> queryBasicVersion()
{
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!versionFunction(&info))
        return std::nullopt;
    return BasicVersionReport{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId,
                              untilZero(info.szCSDVersion, sizeof info.szCSDVersion)};
}

std::optional<ExtendedVersionReport> queryExtendedVersion()
{
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!versionFunction(reinterpret_cast<OSVERSIONINFOA*>(&info)))
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
