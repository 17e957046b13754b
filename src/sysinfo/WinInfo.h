#pragma once

#include "platform/Registry.h"
#include "platform/VersionQueries.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vorlu::sysinfo {

// The basic version record (ObterVersaoWindows).
struct WindowsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;      // the low 16 bits of the reported build number
    std::uint32_t platformId = 0; // 0 Win32s, 1 the Windows 95 family, 2 the NT family
    std::string servicePack;      // at most 127 characters
    friend bool operator==(const WindowsVersion&, const WindowsVersion&) = default;
};

// The edition record (ObterEdicaoWindows).
struct WindowsEdition {
    bool server = false;
    std::string product;
    std::string suite;
    std::string servicePack;
    friend bool operator==(const WindowsEdition&, const WindowsEdition&) = default;
};

// The version name and number (ObterNomeWindows).
struct WindowsName {
    std::string name;   // "Microsoft Windows XP"
    std::string number; // "5.01.2600"
    friend bool operator==(const WindowsName&, const WindowsName&) = default;
};

// The registry values read under HKEY_LOCAL_MACHINE when the extended query fails, already read
// as text; nullopt where the key or the value does not exist.
struct VersionRegistryValues {
    std::optional<std::string> productType; // ...\Control\ProductOptions, ProductType
    std::optional<std::string> suiteMask;   // ...\Control\ProductOptions, SuiteMask
    std::optional<std::string> csdVersion;  // ...\Control\Windows, CSDVersion
};

// Everything Windows reports that the description depends on.
struct VersionReports {
    std::optional<platform::BasicVersionReport> basic;       // nullopt: the basic query failed
    std::optional<platform::ExtendedVersionReport> extended; // nullopt: the extended query failed
    VersionRegistryValues registry;                          // used only when extended is nullopt
};

// The classification, as pure functions of what Windows reports.
WindowsVersion versionFromReport(const std::optional<platform::BasicVersionReport>& report);
WindowsEdition editionFromReports(const std::optional<platform::ExtendedVersionReport>& report,
                                  const VersionRegistryValues& registry);
// The version class, 0 to 11; edition is consulted only for the NT family.
int versionClass(const WindowsVersion& version, const WindowsEdition& edition);
std::string_view versionClassName(int versionClass);
WindowsName nameFor(const WindowsVersion& version, const WindowsEdition& edition);
std::string descriptionFor(const WindowsName& name, const WindowsEdition& edition);
std::string describeWindows(const VersionReports& reports);

// Reads the fallback values through registry, opening the two keys read-only and never creating
// them. A value stored with a type other than text raises platform::RegistryTypeError.
VersionRegistryValues readVersionRegistryValues(platform::Registry& registry);

// The four operations over the running Windows; each call queries it afresh. The registry
// fallback raises platform::RegistryTypeError for a value that is not text.
WindowsVersion ObterVersaoWindows();
WindowsEdition ObterEdicaoWindows();
WindowsEdition ObterEdicaoWindows(platform::Registry& registry);
WindowsName ObterNomeWindows();
// The description the splash shows: on Windows, the version description; elsewhere the running
// system's own (describeHostSystem), never a Windows name it does not run.
std::string DescricaoWindows();

// A system other than Windows, in the same layout: its product name ("PRETTY_NAME" of
// os-release) on the first line, then the kernel's name and release; one line when only one of
// them is known.
std::map<std::string, std::string> parseOsRelease(std::string_view text);
std::string describeHostSystem(const platform::HostSystemReport& report);

} // namespace vorlu::sysinfo
